#include "framework/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace kl {

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  if (count <= 0 || position_ >= Size()) return 0;
  const std::int64_t n = std::min(count, Size() - position_);
  std::memcpy(buffer, data_.data() + position_, std::size_t(n));
  position_ += n;
  return n;
}

std::int64_t TMemoryStream::Write(const void* buffer, std::int64_t count) {
  if (count <= 0) return 0;
  if (position_ + count > Size()) data_.resize(std::size_t(position_ + count));
  std::memcpy(data_.data() + position_, buffer, std::size_t(count));
  position_ += count;
  return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::soCurrent) base = position_;
  if (origin == TSeekOrigin::soEnd) base = Size();
  const std::int64_t target = base + offset;
  if (target < 0) return -1;
  position_ = target;
  return position_;
}

void TMemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

void TMemoryStream::SetSize(std::int64_t size) {
  data_.resize(std::size_t(std::max<std::int64_t>(size, 0)));
  position_ = std::min(position_, Size());
}

TStringStream::TStringStream(const std::string& data) {
  data_.assign(data.begin(), data.end());
}

}  // namespace kl
