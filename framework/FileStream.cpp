#include "framework/FileStream.h"

#include <QFile>

#include "framework/Exception.h"
#include "platform/files/DurableFile.h"
#include "platform/files/FileError.h"

namespace kl {

TFileStream::TFileStream(const std::string& fileName, TFileMode mode) : fileName_(fileName) {
  if (mode == TFileMode::fmCreate) {
    try {
      writer_ = std::make_unique<files::DurableFile>(fileName);
    } catch (const files::FileError& failure) {
      throw Exception(failure.what());
    }
    return;
  }
  reader_ = std::make_unique<QFile>(QString::fromStdString(fileName));
  if (!reader_->open(QIODevice::ReadOnly))
    throw Exception("Cannot open file \"" + fileName + "\". " +
                    reader_->errorString().toStdString());
}

// An uncommitted file being written is removed, and the old file stays.
TFileStream::~TFileStream() = default;

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || !reader_) return 0;
  return reader_->read(static_cast<char*>(buffer), count);
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (!writer_ || !failure_.empty()) return -1;
  try {
    writer_->Write(buffer, std::size_t(count));
  } catch (const files::FileError& failure) {
    failure_ = failure.what();
    return -1;
  }
  written_ += count;
  return count;
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (writer_) {
    const bool tellsPosition = offset == 0 && origin != TSeekOrigin::soBeginning;
    return tellsPosition || (origin == TSeekOrigin::soBeginning && offset == written_) ? written_
                                                                                       : -1;
  }
  std::int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = reader_->pos();
  if (origin == TSeekOrigin::soEnd) base = reader_->size();
  const std::int64_t target = base + offset;
  if (target < 0 || !reader_->seek(target)) return -1;
  return target;
}

std::int64_t TFileStream::Size() {
  return writer_ ? written_ : reader_->size();
}

void TFileStream::Commit() {
  if (!writer_) return;
  if (!failure_.empty()) throw Exception(failure_);
  try {
    writer_->Commit();
  } catch (const files::FileError& failure) {
    failure_ = failure.what();
    throw Exception(failure_);
  }
}

}  // namespace kl
