#include "platform/files/DurableFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>
#include <ctime>

#include "platform/files/FileError.h"
#include "platform/files/SystemCalls.h"

namespace files {
namespace {

constexpr std::string_view kMark = ".klsave-";
constexpr int kRandomLength = 6;

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomSuffix() {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string suffix;
  for (int i = 0; i < kRandomLength; ++i)
    suffix += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
  return suffix;
}

// A flush that the file or its file system cannot do at all is no lost data.
bool FlushUnsupported(int code) {
  return code == EINVAL || code == ENOTSUP || code == EROFS;
}

void SyncFolder(const std::string& folder, const std::string& path) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // a folder we may not open for reading cannot be flushed by us either
  const int result = Calls().fsync(fd);
  const int code = errno;
  ::close(fd);
  if (result != 0 && !FlushUnsupported(code)) throw FileError("Cannot write file", path, code);
}

}  // namespace

DurableFile::DurableFile(std::string path) : path_(std::move(path)) {
  const std::string folder = FolderOf(path_);
  const std::string name = NameOf(path_);
  struct stat existing {};
  const bool replaces = ::stat(path_.c_str(), &existing) == 0;
  for (int attempt = 0;; ++attempt) {
    temporary_ = folder + "/." + name + std::string(kMark) + RandomSuffix();
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) break;
    if (errno != EEXIST || attempt > 100) {
      const int code = errno;
      temporary_.clear();
      throw FileError("Cannot create file", path_, code);
    }
  }
  // A replaced file keeps who may read it.
  if (replaces) ::fchmod(fd_, existing.st_mode & 07777);
}

DurableFile::~DurableFile() {
  if (!committed_) Abandon();
}

void DurableFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void DurableFile::Write(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = Calls().write(fd_, bytes, size);
    if (written < 0 && errno == EINTR) continue;
    // A write that takes nothing would loop forever; the system reports no reason for it.
    if (written <= 0) throw FileError("Cannot write file", path_, written < 0 ? errno : ENOSPC);
    bytes += written;
    size -= std::size_t(written);
  }
}

void DurableFile::Commit() {
  if (Calls().fdatasync(fd_) != 0 && !FlushUnsupported(errno))
    throw FileError("Cannot write file", path_, errno);
  const int fd = fd_;
  fd_ = -1;
  // Some file systems report a failed write only when the file is closed.
  if (Calls().close(fd) != 0 && errno != EINTR) throw FileError("Cannot write file", path_, errno);
  if (Calls().rename(temporary_.c_str(), path_.c_str()) != 0)
    throw FileError("Cannot write file", path_, errno);
  committed_ = true;
  SyncFolder(FolderOf(path_), path_);
}

void WriteFileDurably(const std::string& path, std::string_view bytes) {
  DurableFile file(path);
  file.Write(bytes);
  file.Commit();
}

bool IsTemporaryFileName(std::string_view name) {
  if (name.size() < 1 + kMark.size() + kRandomLength || name.front() != '.') return false;
  const std::size_t mark = name.size() - kRandomLength - kMark.size();
  return name.substr(mark, kMark.size()) == kMark;
}

int RemoveStaleTemporaryFiles(const std::string& folder, std::chrono::seconds maxAge) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  const std::time_t now = std::time(nullptr);
  int removed = 0;
  while (const dirent* item = ::readdir(dir)) {
    if (!IsTemporaryFileName(item->d_name)) continue;
    const std::string path = folder + "/" + item->d_name;
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    if (now - info.st_mtime <= maxAge.count()) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  ::closedir(dir);
  return removed;
}

}  // namespace files
