#pragma once
// A stream-in source over bytes already in memory, for callers that hold a whole file (the
// converter, benchmarks): the stream record it gives points at the source while it lives.

#include <QByteArray>
#include <algorithm>
#include <cstring>

#include "platform/richedit/RichEditTypes.h"

namespace richedit {

class ByteArraySource {
 public:
  explicit ByteArraySource(const QByteArray& data) : data_(data) {}

  EDITSTREAM stream() { return EDITSTREAM{reinterpret_cast<DWORD_PTR>(this), 0, &read}; }

 private:
  static DWORD read(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* got) {
    auto* source = reinterpret_cast<ByteArraySource*>(cookie);
    const qsizetype n = std::min<qsizetype>(size, source->data_.size() - source->pos_);
    std::memcpy(buffer, source->data_.constData() + source->pos_, std::size_t(n));
    source->pos_ += n;
    *got = LONG(n);
    return 0;
  }

  const QByteArray& data_;
  qsizetype pos_ = 0;
};

}  // namespace richedit
