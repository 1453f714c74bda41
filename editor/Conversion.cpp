#include "editor/Conversion.h"

#include "framework/Stream.h"

namespace kl {

std::int64_t TConversion::ConvertReadStream(TStream& stream, char* buffer, std::int64_t bufSize) {
  return stream.Read(buffer, bufSize);
}

std::int64_t TConversion::ConvertWriteStream(TStream& stream, const char* buffer,
                                             std::int64_t bufSize) {
  return stream.Write(buffer, bufSize);
}

std::unique_ptr<TConversion> MakeDefaultConversion() {
  return std::make_unique<TConversion>();
}

}  // namespace kl
