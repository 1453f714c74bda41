#include "store/WriteOutcome.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/files/DurableFile.h"
#include "platform/files/FileError.h"

namespace kl {

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
    case ENOENT:
    case ENOTDIR:
      return {error, "the folder cannot be found"};
    default:
      return {error, std::strerror(error)};
  }
}

TWriteOutcome WriteKeptFile(const std::string& path, std::string_view bytes) {
  try {
    files::WriteFileDurably(path, bytes);
    return {};
  } catch (const files::FileError& failure) {
    return WriteFailure(failure.Code() != 0 ? failure.Code() : EIO);
  }
}

bool SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  ::close(fd);
  return synced;
}

}  // namespace kl
