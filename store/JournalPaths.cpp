// Where the journal lives: the shared folder values of GlobalUnit.h and the routines that choose
// them. They need nothing beyond Qt's core library, and live apart from the routines that read
// and write the journal, so a command-line tool that only has to find the journal starts without
// loading the window's libraries.
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

#include "store/GlobalUnit.h"

namespace kl {
namespace {

struct JournalPaths {
  std::string appFolder;
  std::string journalFolder;
};

JournalPaths& Paths() {
  static JournalPaths paths;
  return paths;
}

std::string WithDelimiter(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

bool CanCreateFilesIn(const std::string& folder) {
  const QString path = QString::fromStdString(folder);
  if (!QFileInfo(path).isDir()) return false;
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return false;
  // Permission bits do not tell everything (read-only mounts, immutable folders, ACLs).
  QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".kennel-logbook-XXXXXX")));
  return probe.open();
}

}  // namespace

const std::string& AppFolder() {
  return Paths().appFolder;
}

const std::string& JournalFolder() {
  return Paths().journalFolder;
}

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && !exe.empty()) return WithDelimiter(exe.parent_path().string());
  // Without /proc the Qt application knows the path from its start.
  return WithDelimiter(QCoreApplication::applicationDirPath().toStdString());
}

std::string ChooseAppFolder(const std::string& programFolder) {
  // A program folder that holds a journal is that journal's place, even when it cannot be
  // written: the user is shown their own journal, and a save that fails says so.
  const QDir program(QString::fromStdString(programFolder));
  if (QFileInfo::exists(program.filePath(QStringLiteral("journal.ini"))) ||
      QFileInfo::exists(program.filePath(QStringLiteral("Journals"))) ||
      CanCreateFilesIn(programFolder)) {
    return WithDelimiter(programFolder);
  }
  const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (data.isEmpty() || !QDir().mkpath(data)) return WithDelimiter(programFolder);
  return WithDelimiter(data.toStdString());
}

std::string JournalSideFolder() {
  const std::string& app = AppFolder();
  if (CanCreateFilesIn(app)) return app;
  // One folder per journal, named after its place, so two read-only journals never mix.
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  const QByteArray key =
      QCryptographicHash::hash(QByteArray::fromStdString(app), QCryptographicHash::Sha1).toHex();
  const QString folder = cache + QStringLiteral("/journals/") + QString::fromLatin1(key.left(16));
  if (cache.isEmpty() || !QDir().mkpath(folder)) return app;
  return WithDelimiter(folder.toStdString());
}

void InitJournalPaths() {
  SetAppFolder(ChooseAppFolder(ProgramFolder()));
}

void SetAppFolder(const std::string& folder) {
  Paths().appFolder = WithDelimiter(folder);
  Paths().journalFolder = Paths().appFolder + "Journals";
}

}  // namespace kl
