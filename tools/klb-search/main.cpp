// klb-search [--journal FOLDER] [--limit N | --all] [--check] QUERY...
// Searches the journal's entries from a shell and prints one line per matching entry, best
// first: number, TAB, title, TAB, a snippet with the matched words between « and ». Exit status
// 0 when something matched, 1 when nothing did, 2 on an error.
//
// It answers from the journal's search index and, to start as fast as a shell tool should,
// loads nothing but Qt's core library and SQLite. When the journal changed since the index was
// last brought up to date (told by the stamps of "journal.ini" and of the entry folder, or with
// --check by every entry file), it first runs klb-search-update beside it, which reads entries
// through the editor's own RTF reader.
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "search/JournalStamps.h"
#include "search/SearchIndex.h"
#include "store/GlobalUnit.h"

namespace {

constexpr int kMatched = 0;
constexpr int kNothing = 1;
constexpr int kError = 2;
constexpr int kDefaultLimit = 50;

struct Options {
  std::string journal;
  int limit = kDefaultLimit;
  bool check = false;
  std::string query;
};

int Fail(const std::string& message) {
  std::fprintf(stderr, "klb-search: %s\n", message.c_str());
  return kError;
}

void Usage() {
  std::fprintf(stderr,
               "usage: klb-search [--journal FOLDER] [--limit N | --all] [--check] QUERY...\n"
               "  QUERY     words that must all occur; \"quoted words\" as a phrase; word* as a "
               "prefix\n"
               "  --journal the folder holding journal.ini (default: the program's own journal)\n"
               "  --limit   print the best N entries (default 50); --all prints every one\n"
               "  --check   examine every entry file first and list those that cannot be read\n");
}

// Answers false (after a message) when the arguments cannot be used.
bool ParseArguments(int argc, char** argv, Options& options) {
  std::vector<std::string> words;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--journal" && i + 1 < argc) {
      options.journal = argv[++i];
    } else if (arg == "--limit" && i + 1 < argc) {
      char* end = nullptr;
      const long limit = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || limit < 1 || limit > 1000000) {
        Fail(std::string("--limit needs a whole number above 0, not \"") + argv[i] + "\"");
        return false;
      }
      options.limit = int(limit);
    } else if (arg == "--all") {
      options.limit = -1;
    } else if (arg == "--check") {
      options.check = true;
    } else if (arg == "--help" || arg == "-h") {
      Usage();
      std::exit(kMatched);
    } else if (arg == "--") {
      for (++i; i < argc; ++i) words.emplace_back(argv[i]);
    } else if (arg.rfind("--", 0) == 0) {
      Fail("unknown option " + arg + " (see klb-search --help)");
      return false;
    } else {
      words.push_back(arg);
    }
  }
  for (const std::string& word : words) options.query += (options.query.empty() ? "" : " ") + word;
  if (options.query.empty() && !options.check) {
    Usage();
    return false;
  }
  return true;
}

bool ChooseJournal(const Options& options) {
  if (options.journal.empty()) {
    kl::InitJournalPaths();
    return true;
  }
  const QFileInfo folder(QString::fromLocal8Bit(options.journal.c_str()));
  if (!folder.isDir()) {
    Fail("no journal folder " + options.journal);
    return false;
  }
  kl::SetAppFolder(folder.absoluteFilePath().toStdString());
  return true;
}

bool IndexNeedsUpdate(const Options& options, const std::string& indexPath) {
  if (options.check || !QFileInfo::exists(QString::fromStdString(indexPath))) return true;
  try {
    kl::TSearchIndex index(indexPath);
    return kl::JournalMayHaveChanged(index);
  } catch (const std::exception&) {
    return true;  // the updater sets an unusable index aside and builds it again
  }
}

// Runs klb-search-update beside this program; its messages and progress go to our stderr.
bool UpdateIndex(const Options& options) {
  const std::string updater = kl::ProgramFolder() + "klb-search-update";
  std::vector<std::string> args = {updater, "--journal", kl::AppFolder()};
  if (options.check) args.emplace_back("--check");
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  const pid_t child = ::fork();
  if (child < 0) return Fail("cannot start " + updater) == 0;
  if (child == 0) {
    ::execv(updater.c_str(), argv.data());
    std::fprintf(stderr, "klb-search: cannot run %s\n", updater.c_str());
    ::_exit(kError);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Field(std::string text) {
  for (char& c : text)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return text;
}

// Lists the entries whose files could not be read; answers how many.
int ListSkipped(kl::TSearchIndex& index, bool asResults) {
  int skipped = 0;
  for (const auto& [number, entry] : index.Entries()) {
    if (entry.problem.empty()) continue;
    ++skipped;
    if (asResults)
      std::printf("%d\t%s\t%s: %s\n", number, Field(entry.title).c_str(), entry.problem.c_str(),
                  entry.file.c_str());
    else
      std::fprintf(stderr, "klb-search: entry %d (%s) skipped: %s: %s\n", number,
                   Field(entry.title).c_str(), entry.problem.c_str(), entry.file.c_str());
  }
  return skipped;
}

int Run(const Options& options) {
  if (!ChooseJournal(options)) return kError;
  const std::string indexPath = kl::SearchIndexFile();
  if (IndexNeedsUpdate(options, indexPath) && !UpdateIndex(options)) return kError;
  try {
    kl::TSearchIndex index(indexPath);
    if (options.check) {
      const int skipped = ListSkipped(index, options.query.empty());
      if (options.query.empty()) return skipped == 0 ? kMatched : kNothing;
    }
    const std::vector<kl::TSearchHit> hits = index.Search(options.query, options.limit);
    for (const kl::TSearchHit& hit : hits)
      std::printf("%d\t%s\t%s\n", hit.number, Field(hit.title).c_str(), Field(hit.snippet).c_str());
    return hits.empty() ? kNothing : kMatched;
  } catch (const std::exception& failure) {
    return Fail(std::string("the search index cannot be read: ") + failure.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  // The per-user folders are the program's, whatever this tool is called.
  QCoreApplication::setApplicationName(QStringLiteral("kennel-logbook"));
  Options options;
  if (!ParseArguments(argc, argv, options)) return kError;
  return Run(options);
}
