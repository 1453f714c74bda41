#include "platform/encoding/Windows1252.h"

namespace textenc {

namespace {

// The page differs from Latin-1 only in 0x80..0x9F; its holes keep their own value.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

QString decodeWindows1252(QByteArrayView bytes) {
  QString out(bytes.size(), Qt::Uninitialized);
  QChar* dst = out.data();
  for (const char byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    *dst++ = QChar(c >= 0x80 && c <= 0x9F ? kHigh[c - 0x80] : char16_t(c));
  }
  return out;
}

int windows1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == c) return 0x80 + i;
  return -1;
}

}  // namespace textenc
