#include "platform/files/FileError.h"

#include <cerrno>
#include <cstring>

namespace files {

std::string ReasonOf(int code) {
  switch (code) {
    case ENOSPC:
    case EDQUOT:
      return "The disk is full";
    default:
      return std::strerror(code);
  }
}

FileError::FileError(const std::string& action, const std::string& path, int code)
    : std::runtime_error(action + " \"" + path + "\". " + ReasonOf(code)), code_(code) {}

}  // namespace files
