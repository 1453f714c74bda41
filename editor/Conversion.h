#pragma once
// Converters move the bytes of a load or save between a stream and the control. The default
// one passes them through unchanged; the converter list picks one by a file's extension.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace kl {

class TStream;

class TConversion {
 public:
  virtual ~TConversion() = default;
  // Answer what the stream's read or write answers: a count of bytes, or -1 on a failure.
  virtual std::int64_t ConvertReadStream(TStream& stream, char* buffer, std::int64_t bufSize);
  virtual std::int64_t ConvertWriteStream(TStream& stream, const char* buffer,
                                          std::int64_t bufSize);
};

// The class reference a converter is created from.
using TConversionClass = std::function<std::unique_ptr<TConversion>()>;
std::unique_ptr<TConversion> MakeDefaultConversion();

// One entry of the converter list.
struct TRichConversionFormat {
  TConversionClass ConversionClass;
  std::string Extension;  // lower case, without the dot
  bool PlainText = false;
  TRichConversionFormat* Next = nullptr;
};

}  // namespace kl
