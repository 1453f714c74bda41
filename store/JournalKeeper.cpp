#include "store/JournalKeeper.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>

#include "platform/files/DurableFile.h"
#include "store/BackgroundWriter.h"
#include "store/GlobalUnit.h"
#include "store/IniFile.h"

namespace kl {

struct TJournalKeeper::Session {
  std::string name;
  std::string folder;  // ends in "/"
  int lockFd = -1;
};

namespace {

const QString kLockSuffix = QStringLiteral(".lock");

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

// A lock file that appears already locked: made under a temporary name, locked, then renamed
// into place, so no other program can take it between its creation and its lock.
int CreateLockedFile(const std::string& path) {
  const std::string temporary = path + ".new";
  const int fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  const std::string owner = std::to_string(::getpid()) + "\n";
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      ::write(fd, owner.data(), owner.size()) != ssize_t(owner.size()) ||
      ::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(temporary.c_str());
    errno = error;
    return -1;
  }
  return fd;
}

bool IsTemporaryName(const QString& name) {
  return files::IsTemporaryFileName(name.toStdString()) || name.endsWith(QStringLiteral(".new"));
}

}  // namespace

std::unique_ptr<TJournalKeeper> TJournalKeeper::ForJournal() {
  const std::string side = JournalSideFolder() + "Journals/";
  return std::make_unique<TJournalKeeper>(side + ".recovery", side + ".history");
}

TJournalKeeper::TJournalKeeper(std::string recoveryFolder, std::string historyFolder)
    : recoveryFolder_(WithSlash(std::move(recoveryFolder))),
      historyFolder_(WithSlash(std::move(historyFolder))),
      writer_(std::make_unique<TBackgroundWriter>()) {}

TJournalKeeper::~TJournalKeeper() {
  writer_.reset();  // runs what is queued, then the thread ends
  if (session_ && session_->lockFd >= 0) ::close(session_->lockFd);
  for (int fd : endedSessionLocks_) ::close(fd);
}

// ---- Sessions -------------------------------------------------------------------------------

bool TJournalKeeper::EnsureSession(TWriteOutcome& outcome) {
  if (session_) return true;
  if (!QDir().mkpath(Q(recoveryFolder_))) {
    outcome = WriteFailure(EACCES);
    return false;
  }
  const std::string name =
      std::to_string(::getpid()) + "-" +
      QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddHHmmsszzz")).toStdString();
  const int fd = CreateLockedFile(recoveryFolder_ + name + ".lock");
  if (fd < 0) {
    outcome = WriteFailure(errno);
    return false;
  }
  const std::string folder = recoveryFolder_ + name;
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    outcome = WriteFailure(errno);
    ::unlink((recoveryFolder_ + name + ".lock").c_str());
    ::close(fd);
    return false;
  }
  session_ = std::make_unique<Session>(Session{name, folder + "/", fd});
  return true;
}

// Answers the lock of a session whose program has ended, now held by us, or -1 when its program
// still runs (or the lock cannot be had).
int TJournalKeeper::TakeLockOfEndedSession(const std::string& sessionName) {
  const std::string path = recoveryFolder_ + sessionName + ".lock";
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return -1;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void TJournalKeeper::RemoveEndedSessionIfEmpty(const std::string& sessionFolder) {
  QDir folder(Q(sessionFolder));
  for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden)) {
    if (IsTemporaryName(name)) folder.remove(name);  // a write cut short: never a whole file
  }
  if (!folder.entryList(QDir::Files | QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
    return;
  const QString name = folder.dirName();
  QDir(Q(recoveryFolder_)).rmdir(name);
  QFile::remove(Q(recoveryFolder_) + name + kLockSuffix);
}

// ---- Recovery -------------------------------------------------------------------------------

int TJournalKeeper::EntryNumberFor(int number, const std::string& entryName) const {
  if (number < 1 || entryName.empty()) return -1;
  const TIniFile* index = JournalIni();
  if (!index) return -1;
  const QString wanted = Q(entryName) + QStringLiteral(".klb");
  auto nameOf = [](const std::string& path) {
    const QString stored = Q(path);
    return stored.mid(std::max(stored.lastIndexOf(u'/'), stored.lastIndexOf(u'\\')) + 1);
  };
  // The number first, then any entry recorded with that file (the index was rebuilt since):
  // a recovered text is never saved over another entry.
  const auto entries = index->ReadSectionValues("Entries");
  for (const auto& [key, path] : entries)
    if (EntryNumberOfKey(key) == number && nameOf(path) == wanted) return number;
  for (const auto& [key, path] : entries)
    if (EntryNumberOfKey(key) > 0 && nameOf(path) == wanted) return EntryNumberOfKey(key);
  return -1;
}

std::vector<TRecoveryFile> TJournalKeeper::OrphanedRecoveries() {
  WaitForWrites();
  std::vector<TRecoveryFile> found;
  const QDir root(Q(recoveryFolder_));
  if (!root.exists()) return found;
  for (const QString& sessionName : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (session_ && sessionName.toStdString() == session_->name) continue;
    const int fd = TakeLockOfEndedSession(sessionName.toStdString());
    if (fd < 0) continue;  // its program still runs
    endedSessionLocks_.push_back(fd);
    const std::string folder = recoveryFolder_ + sessionName.toStdString() + "/";
    RemoveEndedSessionIfEmpty(folder);
    const QDir session(Q(folder));
    for (const QFileInfo& file : session.entryInfoList({QStringLiteral("*.klb")}, QDir::Files)) {
      TRecoveryFile item;
      std::string entryName;
      int number = -1;
      if (!ParseRecoveryFileName(file.fileName().toStdString(), number, entryName)) continue;
      item.Path = file.filePath().toStdString();
      item.EntryName = entryName;
      item.Number = EntryNumberFor(number, entryName);
      item.SavedAt = file.lastModified();
      GetEntryTitle(item.Number, item.Title);
      if (item.Number < 1) item.Title = "Untitled";
      item.FirstWords = FirstWordsOfRtf(item.Path);
      found.push_back(std::move(item));
    }
  }
  std::sort(found.begin(), found.end(),
            [](const TRecoveryFile& a, const TRecoveryFile& b) { return a.SavedAt < b.SavedAt; });
  return found;
}

std::string TJournalKeeper::RecoveryNameOf(int number) const {
  std::string entryFile;
  if (number > 0) {
    try {
      if (const TIniFile* index = JournalIni())
        entryFile = index->ReadString("Entries", std::to_string(number), "");
    } catch (const std::exception&) {
      // An index that cannot be read now still lets the text be kept, under the number alone.
    }
    if (entryFile.empty()) entryFile = "unknown";
  }
  return RecoveryFileName(number, entryFile);
}

void TJournalKeeper::AdoptRecovery(const TRecoveryFile& file, int number) {
  const std::string name = RecoveryNameOf(number);
  {
    std::lock_guard<std::mutex> lock(pendingMutex_);
    pendingRtf_.reset();
  }
  ForgetRecovery();
  ownName_ = name;
  writer_->Post([this, from = file.Path, name] {
    TWriteOutcome outcome;
    if (!EnsureSession(outcome)) return;  // it stays where it is, still listed next time
    const std::string to = session_->folder + name;
    if (::rename(from.c_str(), to.c_str()) != 0) return;
    SyncFolder(session_->folder);
    RemoveEndedSessionIfEmpty(QFileInfo(Q(from)).absolutePath().toStdString() + "/");
  });
  WaitForWrites();
}

void TJournalKeeper::DiscardRecovery(const TRecoveryFile& file) {
  QFile::remove(Q(file.Path));
  RemoveEndedSessionIfEmpty(QFileInfo(Q(file.Path)).absolutePath().toStdString() + "/");
}

void TJournalKeeper::KeepRecovery(int number, std::string rtf, TKeptHandler done) {
  const std::string name = RecoveryNameOf(number);
  if (!ownName_.empty() && name != ownName_) ForgetRecovery();
  ownName_ = name;
  bool queued = false;
  {
    std::lock_guard<std::mutex> lock(pendingMutex_);
    queued = pendingRtf_.has_value();
    pendingRtf_ = std::move(rtf);
    pendingName_ = name;
    pendingDone_ = std::move(done);
  }
  if (queued) return;  // the write already waiting takes the newest text
  writer_->Post([this] {
    std::string bytes;
    std::string fileName;
    TKeptHandler report;
    {
      std::lock_guard<std::mutex> lock(pendingMutex_);
      if (!pendingRtf_) return;  // forgotten before it was written
      bytes = std::move(*pendingRtf_);
      pendingRtf_.reset();
      fileName = pendingName_;
      report = std::move(pendingDone_);
    }
    TWriteOutcome outcome;
    if (EnsureSession(outcome)) outcome = WriteKeptFile(session_->folder + fileName, bytes);
    if (report) report(outcome);
  });
}

void TJournalKeeper::ForgetRecovery() {
  {
    std::lock_guard<std::mutex> lock(pendingMutex_);
    pendingRtf_.reset();
  }
  if (ownName_.empty()) return;
  writer_->Post([this, name = ownName_] {
    if (session_) QFile::remove(Q(session_->folder + name));
  });
  ownName_.clear();
}

void TJournalKeeper::CloseSession() {
  ForgetRecovery();
  writer_->Post([this] {
    if (!session_) return;
    QDir(Q(session_->folder)).removeRecursively();
    QFile::remove(Q(recoveryFolder_ + session_->name) + kLockSuffix);
    ::close(session_->lockFd);
    session_.reset();
  });
  WaitForWrites();
}

void TJournalKeeper::WaitForWrites() {
  writer_->WaitUntilIdle();
}

std::string TJournalKeeper::OwnRecoveryPath() const {
  writer_->WaitUntilIdle();
  if (!session_ || ownName_.empty()) return {};
  return session_->folder + ownName_;
}

// ---- History --------------------------------------------------------------------------------

TWriteOutcome TJournalKeeper::KeepVersion(const std::string& entryFile, const QDateTime& now) {
  // The old file must be kept before the save replaces it, so this part runs now; flushing the
  // folder and thinning the versions can wait for the writer.
  const TWriteOutcome outcome = KeepEntryVersion(historyFolder_, entryFile, now);
  if (!outcome.Ok()) return outcome;
  writer_->Post([this, entryFile, now] {
    SyncFolder(EntryHistoryFolder(historyFolder_, entryFile));
    ThinEntryVersions(historyFolder_, entryFile, now);
  });
  return outcome;
}

std::vector<THistoryVersion> TJournalKeeper::Versions(const std::string& entryFile) const {
  writer_->WaitUntilIdle();
  return ListEntryVersions(historyFolder_, entryFile);
}

}  // namespace kl
