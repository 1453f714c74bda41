#pragma once
// A stream over a file. A file opened for reading is read in place; a file created for writing
// is written to a temporary file beside it and only replaces the old file on Commit, once every
// byte is on the disk, so a failed or abandoned save leaves the old file whole.

#include <memory>
#include <string>

#include "framework/Stream.h"

class QFile;

namespace files {
class DurableFile;
}

namespace kl {

enum class TFileMode { fmOpenRead, fmCreate };

class TFileStream : public TStream {
 public:
  // Raises kl::Exception naming the file and the system's reason when it cannot be opened.
  TFileStream(const std::string& fileName, TFileMode mode);
  ~TFileStream() override;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  // A failed write answers -1 and keeps the reason (see Failure).
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  // A stream being written only tells its position and size; it cannot move.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override;

  // fmCreate only: puts the written file in place of the old one once it is on the disk;
  // raises kl::Exception naming the file and the reason ("... The disk is full") when that
  // fails (the old file is then untouched). Without a commit nothing replaces the file.
  void Commit();

  // Why the last write failed, naming the file; empty when no write failed.
  const std::string& Failure() const { return failure_; }

 private:
  std::string fileName_;
  std::unique_ptr<QFile> reader_;
  std::unique_ptr<files::DurableFile> writer_;
  std::int64_t written_ = 0;
  std::string failure_;
};

}  // namespace kl
