#pragma once
// A stream over a file. A file opened for reading is read in place; a file created for writing
// is written to a temporary file beside it and only replaces the old file on Commit, so a
// failed or abandoned save leaves the old file whole.

#include <memory>
#include <string>

#include "framework/Stream.h"

class QFileDevice;

namespace kl {

enum class TFileMode { fmOpenRead, fmCreate };

class TFileStream : public TStream {
 public:
  // Raises kl::Exception naming the file and the system's reason when it cannot be opened.
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override;

  // fmCreate only: puts the written file in place of the old one; raises kl::Exception when
  // that fails (the old file is then untouched). Without a commit nothing replaces the file.
  void Commit();

 private:
  std::string fileName_;
  TFileMode mode_;
  std::unique_ptr<QFileDevice> file_;
};

}  // namespace kl
