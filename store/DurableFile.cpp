#include "store/DurableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

namespace kl {
namespace {

std::mutex& HookMutex() {
  static std::mutex mutex;
  return mutex;
}

TWriteStepHook& Hook() {
  static TWriteStepHook hook;
  return hook;
}

std::atomic<TWriteCall>& WriteCall() {
  static std::atomic<TWriteCall> call{&::write};
  return call;
}

void PassStep(TWriteStep step, const std::string& path) {
  TWriteStepHook hook;
  {
    std::lock_guard<std::mutex> lock(HookMutex());
    hook = Hook();
  }
  if (hook) hook(step, path);
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Closes the descriptor when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return fd_; }
  // Closes now, answering the close's own failure (a late write error of some file systems).
  int Close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// Removes the temporary file unless the write got as far as renaming it.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& Path() const { return path_; }
  void Renamed() { path_.clear(); }

 private:
  std::string path_;
};

bool WriteAll(int fd, std::string_view bytes, const std::string& target, int& error) {
  const TWriteCall write = WriteCall().load();
  std::size_t done = 0;
  const std::size_t half = bytes.size() / 2;
  bool halfPassed = bytes.size() < 2;
  while (done < bytes.size()) {
    // Written in two halves so that a crash test can stop between them.
    const std::size_t limit = halfPassed ? bytes.size() : half;
    const ssize_t n = write(fd, bytes.data() + done, limit - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    if (n == 0) {
      error = ENOSPC;
      return false;
    }
    done += std::size_t(n);
    if (!halfPassed && done >= half) {
      halfPassed = true;
      PassStep(TWriteStep::TemporaryPartlyWritten, target);
    }
  }
  return true;
}

}  // namespace

TWriteOutcome WriteFailure(int error) {
  switch (error) {
    case 0:
      return {};
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return {error, "disk full"};
    case EACCES:
    case EPERM:
    case EROFS:
      return {error, "the folder cannot be written"};
    default:
      return {error, std::strerror(error)};
  }
}

TWriteOutcome WriteFileDurably(const std::string& path, std::string_view bytes) {
  std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  Descriptor fd(::mkostemp(name.data(), O_CLOEXEC));
  if (fd.Get() < 0) return WriteFailure(errno);
  // Made private (0600): it holds the words of a journal.
  TemporaryFile temporary(name.data());

  int error = 0;
  if (!WriteAll(fd.Get(), bytes, path, error)) return WriteFailure(error);
  if (::fsync(fd.Get()) != 0) return WriteFailure(errno);
  if (fd.Close() != 0) return WriteFailure(errno);
  PassStep(TWriteStep::TemporaryWritten, path);

  if (::rename(temporary.Path().c_str(), path.c_str()) != 0) return WriteFailure(errno);
  temporary.Renamed();
  SyncFolder(FolderOf(path));
  PassStep(TWriteStep::Replaced, path);
  return {};
}

bool SyncFolder(const std::string& folder) {
  Descriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return fd.Get() >= 0 && ::fsync(fd.Get()) == 0;
}

void SetWriteStepHook(TWriteStepHook hook) {
  std::lock_guard<std::mutex> lock(HookMutex());
  Hook() = std::move(hook);
}

void SetWriteCallForTesting(TWriteCall call) {
  WriteCall().store(call ? call : &::write);
}

}  // namespace kl
