#include "platform/encoding/Utf8.h"

#include <QStringDecoder>
#include <algorithm>

#include "platform/encoding/Windows1252.h"

namespace textenc {

bool isValidUtf8(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype size = bytes.size();
  qsizetype i = 0;
  while (i < size) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    char32_t value = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      value = c & 0x07;
    } else {
      return false;
    }
    if (i + length > size) return false;
    for (int k = 1; k < length; ++k) {
      const unsigned char next = p[i + k];
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000)) return false;
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

QString decodeUtf8OrWindows1252(QByteArrayView bytes) {
  if (!isValidUtf8(bytes)) return decodeWindows1252(bytes);
  QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                     QStringConverter::Flag::Stateless);
  return decoder(bytes);
}

std::size_t utf8PrefixLength(QByteArrayView utf8, std::size_t capacity) {
  std::size_t n = std::min<std::size_t>(capacity, std::size_t(utf8.size()));
  if (n == std::size_t(utf8.size())) return n;
  // Step back over continuation bytes so that no character is cut in two.
  while (n > 0 && (static_cast<unsigned char>(utf8[qsizetype(n)]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace textenc
