#include "framework/Stream.h"

#include "framework/Exception.h"

namespace kl {

std::int64_t TStream::Size() {
  const std::int64_t here = Position();
  const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(here, TSeekOrigin::soBeginning);
  return size;
}

void TStream::ReadBuffer(void* buffer, std::int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw Exception("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw Exception("Stream write error");
}

}  // namespace kl
