#include "framework/FileStream.h"

#include <QFile>
#include <QSaveFile>

#include "framework/Exception.h"

namespace kl {

TFileStream::TFileStream(const std::string& fileName, TFileMode mode)
    : fileName_(fileName), mode_(mode) {
  const QString name = QString::fromStdString(fileName);
  if (mode == TFileMode::fmCreate) {
    auto file = std::make_unique<QSaveFile>(name);
    if (!file->open(QIODevice::WriteOnly))
      throw Exception("Cannot create file \"" + fileName + "\". " +
                      file->errorString().toStdString());
    file_ = std::move(file);
  } else {
    auto file = std::make_unique<QFile>(name);
    if (!file->open(QIODevice::ReadOnly))
      throw Exception("Cannot open file \"" + fileName + "\". " +
                      file->errorString().toStdString());
    file_ = std::move(file);
  }
}

// An uncommitted save file discards what was written when it is destroyed.
TFileStream::~TFileStream() = default;

std::int64_t TFileStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  return file_->read(static_cast<char*>(buffer), count);
}

std::int64_t TFileStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  return file_->write(static_cast<const char*>(buffer), count);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = file_->pos();
  if (origin == TSeekOrigin::soEnd) base = file_->size();
  const std::int64_t target = base + offset;
  if (target < 0 || !file_->seek(target)) return -1;
  return target;
}

std::int64_t TFileStream::Size() {
  return file_->size();
}

void TFileStream::Commit() {
  auto* save = dynamic_cast<QSaveFile*>(file_.get());
  if (!save) return;
  if (!save->commit())
    throw Exception("Cannot write file \"" + fileName_ + "\". " +
                    save->errorString().toStdString());
}

}  // namespace kl
