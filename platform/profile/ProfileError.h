#pragma once
// Failures of the profile file access. They carry the text the program shows, with the file's
// full path; the layers above add the name of the routine that failed.

#include <stdexcept>
#include <string>

namespace profile {

class ProfileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file system refused to replace the file ("Unable to write to <path>"), with the reason
// when it is more than a refusal ("Unable to write to <path>. The disk is full").
class WriteError : public ProfileError {
 public:
  explicit WriteError(const std::string& path, const std::string& reason = {})
      : ProfileError("Unable to write to " + path + (reason.empty() ? "" : ". " + reason)) {}
};

// The file exists but cannot be read ("Unable to read from <path>"). Reads never pretend such a
// file is empty: a later write would replace the whole index with the one new value.
class ReadError : public ProfileError {
 public:
  explicit ReadError(const std::string& path) : ProfileError("Unable to read from " + path) {}
};

}  // namespace profile
