// klb-search-update --journal FOLDER [--check]: brings the journal's search index up to date,
// reading changed entry files through the editor's own RTF reader. klb-search runs it when the
// journal changed; it draws a progress bar on a terminal's standard error when the work takes
// longer than a second. Exit status 0 when the index is up to date, 2 on an error.
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "search/JournalCheck.h"
#include "search/SearchIndex.h"
#include "store/GlobalUnit.h"

namespace {

constexpr int kError = 2;
constexpr int kBarWidth = 30;

int Fail(const std::string& message) {
  std::fprintf(stderr, "klb-search: %s\n", message.c_str());
  return kError;
}

// Qt's own notes (about the headless platform and the like) are not for the tool's user.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "klb-search: %s\n", message.toLocal8Bit().constData());
}

class ProgressBar {
 public:
  ProgressBar() : shown_(::isatty(STDERR_FILENO) == 1) { clock_.start(); }
  ~ProgressBar() {
    if (drawn_) std::fputc('\n', stderr);
  }

  void Show(int done, int total) {
    if (!shown_ || total <= 0 || clock_.elapsed() < 1000) return;
    const int filled = int(static_cast<long long>(done) * kBarWidth / total);
    std::fprintf(stderr, "\rIndexing [%s%s] %d of %d entries", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), done, total);
    std::fflush(stderr);
    drawn_ = true;
  }

 private:
  bool shown_;
  bool drawn_ = false;
  QElapsedTimer clock_;
};

}  // namespace

int main(int argc, char** argv) {
  std::string journal;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--journal" && i + 1 < argc) journal = argv[++i];
    // --check needs nothing more here: every entry file's stamp is compared anyway.
  }
  if (journal.empty()) return Fail("usage: klb-search-update --journal FOLDER [--check]");
  // The reader builds documents, which need the GUI library, but no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(QuietMessages);
  QCoreApplication::setApplicationName(QStringLiteral("kennel-logbook"));
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("kennel-logbook"));
  kl::SetAppFolder(journal);
  try {
    std::string message;
    std::unique_ptr<kl::TSearchIndex> index = kl::OpenSearchIndex(kl::SearchIndexFile(), message);
    if (!message.empty()) std::fprintf(stderr, "klb-search: %s\n", message.c_str());
    ProgressBar bar;
    kl::CheckJournal(*index, [&bar](int done, int total) { bar.Show(done, total); });
  } catch (const std::exception& failure) {
    return Fail(std::string("the search index cannot be brought up to date: ") + failure.what());
  }
  return 0;
}
