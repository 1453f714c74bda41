#pragma once
// A stream over bytes held in memory; it grows as it is written.

#include <string>
#include <vector>

#include "framework/Stream.h"

namespace kl {

class TMemoryStream : public TStream {
 public:
  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Write(const void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return std::int64_t(data_.size()); }

  const char* Memory() const { return data_.data(); }
  void Clear();
  void SetSize(std::int64_t size);

 protected:
  std::vector<char> data_;
  std::int64_t position_ = 0;
};

// A memory stream whose bytes are read and written as one string.
class TStringStream : public TMemoryStream {
 public:
  TStringStream() = default;
  explicit TStringStream(const std::string& data);
  std::string DataString() const { return std::string(data_.begin(), data_.end()); }
};

}  // namespace kl
