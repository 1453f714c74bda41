#include "store/GlobalUnit.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>
#include <memory>
#include <set>

#include "framework/Exception.h"
#include "framework/dialogs/Dialogs.h"
#include "platform/files/DurableFile.h"
#include "platform/profile/IniValue.h"
#include "store/IniFile.h"

namespace kl {
namespace {

const std::string kJournalSection = "Journal";
const std::string kEntriesSection = "Entries";
const std::string kCountKey = "Count";

struct StoreState {
  std::unique_ptr<TIniFile> journalIni;
};

StoreState& State() {
  static StoreState state;
  return state;
}

std::string WithoutDelimiter(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

void Report(const std::string& routine, const std::exception& failure) {
  ShowMessage(routine + ": Error - " + failure.what());
}

TIniFile& Index() {
  if (!State().journalIni) throw Exception("The journal index is not open");
  return *State().journalIni;
}

bool IsBlank(const std::string& text) {
  for (unsigned char c : text) {
    if (c > ' ') return false;
  }
  return true;
}

// Whether the file's path names a place inside the folder (at any depth), as written or after
// links are followed.
bool LiesInFolder(const QString& file, const QString& folder) {
  const auto inside = [](const QString& path, const QString& base) {
    return !base.isEmpty() && path.startsWith(base + u'/');
  };
  if (inside(QDir::cleanPath(file), QDir::cleanPath(folder))) return true;
  const QString realFile = QFileInfo(file).canonicalFilePath();
  const QString realFolder = QFileInfo(folder).canonicalFilePath();
  return !realFile.isEmpty() && inside(realFile, realFolder);
}

// The next number after "Count". A hand-edited or damaged "Count" must not make a new entry
// overwrite a recorded one, nor take a number the tree cannot list: a number that stands as a
// key anywhere in the file (a repeated section, a stray line) is never handed out.
int NextEntryNumber(const TIniFile& index) {
  int count = index.ReadInteger(kJournalSection, kCountKey, 1);
  if (count < 0) count = 1;
  std::set<int> taken;
  for (const std::string& key : index.ReadAllKeyNames()) {
    const int number = EntryNumberOfKey(key);
    if (number > count) taken.insert(number);
  }
  for (;;) {
    if (count == INT_MAX) throw Exception("No entry number is left in " + index.FileName());
    if (!taken.count(++count)) return count;
  }
}

// A fresh file path in the journal folder, named after this second or, when that name is taken
// (a file exists, or the index records it for an entry whose file was never written), the next
// second that is free.
std::string FreshEntryPath() {
  std::string folder = JournalFolder();
  if (folder.empty() || folder.back() != '/') folder += '/';
  std::set<std::string> recorded;
  if (TIniFile* index = State().journalIni.get()) {
    for (const auto& entry : index->ReadSectionValues(kEntriesSection)) {
      recorded.insert(ResolveEntryFile(entry.second));
    }
  }
  const QDateTime now = QDateTime::currentDateTime();
  constexpr int kSecondsToTry = 24 * 60 * 60;
  for (int second = 0; second < kSecondsToTry; ++second) {
    const std::string path =
        folder + now.addSecs(second).toString(QStringLiteral("yyyyMMddHHmmss")).toStdString() +
        ".klb";
    if (!recorded.count(path) && !QFileInfo::exists(QString::fromStdString(path))) return path;
  }
  throw Exception("No free entry file name in " + JournalFolder());
}

void RecordEntry(TIniFile& index, int number, const std::string& title, const std::string& path) {
  const std::string key = std::to_string(number);
  // Title first, then the path, then "Count": a first entry's "Count" follows its title, and
  // later titles follow "Count".
  index.WriteStrings({{kJournalSection, key, title},
                      {kEntriesSection, key, path},
                      {kJournalSection, kCountKey, key}});
}

}  // namespace

TIniFile* JournalIni() {
  return State().journalIni.get();
}

void OpenJournalIni() {
  State().journalIni = std::make_unique<TIniFile>(AppFolder() + "journal.ini");
}

void CloseJournalIni() {
  State().journalIni.reset();
}

void RemoveStaleSaveFiles() {
  files::RemoveStaleTemporaryFiles(WithoutDelimiter(AppFolder()));
  files::RemoveStaleTemporaryFiles(JournalFolder());
}

int GetNewEntryNumber() {
  try {
    return NextEntryNumber(Index());
  } catch (const std::exception& failure) {
    Report("SaveEntry", failure);
    return 0;
  }
}

bool SaveEntry(int Number, const std::string& Title, std::string& FileName) {
  if (Number > 0) return true;
  try {
    TIniFile& index = Index();
    const int number = NextEntryNumber(index);
    const std::string path = FreshEntryPath();
    RecordEntry(index, number, Title, path);
    FileName = path;
    return true;
  } catch (const std::exception& failure) {
    Report("SaveEntry", failure);
    return false;
  }
}

bool SaveNewEntry(const std::string& title,
                  const std::function<bool(const std::string& path)>& writeFile,
                  std::string& fileName, int& number) {
  int newNumber = 0;
  std::string path;
  try {
    newNumber = NextEntryNumber(Index());
    path = FreshEntryPath();
  } catch (const std::exception& failure) {
    Report("SaveEntry", failure);
    return false;
  }
  // The file first: the index never records an entry whose file was not written.
  if (!writeFile(path)) return false;
  try {
    RecordEntry(Index(), newNumber, title, path);
  } catch (const std::exception& failure) {
    // The entry's text is still in the editor; a file the index does not know would only be
    // left behind.
    QFile::remove(QString::fromStdString(path));
    Report("SaveEntry", failure);
    return false;
  }
  fileName = path;
  number = newNumber;
  return true;
}

bool SaveEntryTitle(int Number, const std::string& Title) {
  if (Number <= 0) return true;
  try {
    Index().WriteString(kJournalSection, std::to_string(Number), Title);
    return true;
  } catch (const std::exception& failure) {
    Report("SaveEntryTitle", failure);
    return false;
  }
}

void GetEntryFileName(int Number, const std::string& Name, std::string& FileName) {
  try {
    if (Number > 0) {
      const std::string recorded = Index().ReadString(kEntriesSection, std::to_string(Number), "");
      FileName = recorded.empty() ? recorded : ResolveEntryFile(recorded);
    } else if (!IsBlank(Name)) {
      FileName = Name;
    } else {
      FileName = FreshEntryPath();
    }
  } catch (const std::exception& failure) {
    Report("GetEntryFileName", failure);
  }
}

void GetEntryTitle(int Number, std::string& Title) {
  if (Number < 1) {
    Title = "Untitled";
    return;
  }
  try {
    Title = Index().ReadString(kJournalSection, std::to_string(Number), "");
  } catch (const std::exception& failure) {
    Report("GetEntryTitle", failure);
  }
}

std::string ResolveEntryFile(const std::string& path) {
  if (path.empty()) return path;
  const QString stored = QString::fromStdString(path);
  const QString journal = QString::fromStdString(JournalFolder());
  if (!QDir::isRelativePath(stored) && LiesInFolder(stored, journal)) return path;
  // A journal that was copied or moved keeps the old folder's paths in its index: its entries
  // are the files of the same names in its own folder, never the other journal's files.
  const qsizetype cut = std::max(stored.lastIndexOf(u'/'), stored.lastIndexOf(u'\\'));
  const QString name = stored.mid(cut + 1);
  if (name.isEmpty() || name == u"." || name == u"..") return {};
  return QDir(journal).filePath(name).toStdString();
}

int EntryNumberOfKey(const std::string& key) {
  return profile::ParseInteger(QString::fromStdString(key)).value_or(0);
}

std::vector<TJournalEntry> ReadJournalEntries() {
  const TIniFile& index = Index();
  std::vector<TJournalEntry> entries;
  for (const std::string& key : index.ReadSection(kJournalSection)) {
    const int number = EntryNumberOfKey(key);
    if (number <= 0) continue;
    entries.push_back({number, index.ReadString(kJournalSection, std::to_string(number), "")});
  }
  return entries;
}

}  // namespace kl
