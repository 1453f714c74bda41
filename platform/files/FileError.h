#pragma once
// A file the system would not read or write, with the text the program shows: what could not
// be done, the file's full path and the reason ("The disk is full" for a full disk or quota).

#include <stdexcept>
#include <string>

namespace files {

class FileError : public std::runtime_error {
 public:
  // action: "Cannot write file", "Cannot create file"; code: the system's error number.
  FileError(const std::string& action, const std::string& path, int code);
  int Code() const { return code_; }

 private:
  int code_;
};

// The reason a person is shown for a system error number.
std::string ReasonOf(int code);

}  // namespace files
