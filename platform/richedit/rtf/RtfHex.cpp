#include "platform/richedit/rtf/RtfHex.h"

#include <cstdint>

namespace richedit::rtf {

namespace {

constexpr std::uint8_t kNotHex = 0xff;

struct HexTable {
  std::uint8_t value[256];
  constexpr HexTable() : value() {
    for (int c = 0; c < 256; ++c) value[c] = kNotHex;
    for (int c = '0'; c <= '9'; ++c) value[c] = static_cast<std::uint8_t>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c) value[c] = static_cast<std::uint8_t>(c - 'a' + 10);
    for (int c = 'A'; c <= 'F'; ++c) value[c] = static_cast<std::uint8_t>(c - 'A' + 10);
  }
};
constexpr HexTable kHex;

}  // namespace

void HexDecoder::feed(std::string_view text, QByteArray& out) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  const qsizetype start = out.size();
  out.resize(start + static_cast<qsizetype>(text.size() / 2) + 1);
  auto* dst = reinterpret_cast<unsigned char*>(out.data()) + start;
  auto* const first = dst;
  int high = pending_;
  if (high >= 0) {
    while (p < end && kHex.value[*p] == kNotHex) ++p;
    if (p < end) {
      *dst++ = static_cast<unsigned char>((high << 4) | kHex.value[*p++]);
      high = -1;
    }
  }
  // The common case: clean pairs of digits.
  while (end - p >= 2) {
    const std::uint8_t a = kHex.value[p[0]];
    const std::uint8_t b = kHex.value[p[1]];
    if ((a | b) < 16) {
      *dst++ = static_cast<unsigned char>((a << 4) | b);
      p += 2;
      continue;
    }
    if (a == kNotHex) {
      ++p;
      continue;
    }
    // a is a digit, b is not: find a's partner further on.
    p += 2;
    while (p < end && kHex.value[*p] == kNotHex) ++p;
    if (p == end) {
      high = a;
      break;
    }
    *dst++ = static_cast<unsigned char>((a << 4) | kHex.value[*p++]);
  }
  if (p < end && kHex.value[*p] != kNotHex) high = kHex.value[*p];
  pending_ = high;
  out.resize(start + (dst - first));
}

qsizetype HexDecoder::skip(std::string_view text) {
  qsizetype digits = pending_ >= 0 ? 1 : 0;
  int last = pending_;
  for (const char c : text) {
    const std::uint8_t v = kHex.value[static_cast<unsigned char>(c)];
    if (v != kNotHex) {
      ++digits;
      last = v;
    }
  }
  pending_ = digits % 2 ? last : -1;
  return digits / 2;
}

void appendHex(QByteArray& out, const char* data, qsizetype size, int lineLength) {
  static constexpr char kDigits[] = "0123456789abcdef";
  const qsizetype bytesPerLine = lineLength / 2;
  const qsizetype lines = bytesPerLine > 0 ? (size + bytesPerLine - 1) / bytesPerLine : 0;
  const qsizetype start = out.size();
  out.resize(start + size * 2 + lines * 2);
  char* dst = out.data() + start;
  for (qsizetype i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(data[i]);
    *dst++ = kDigits[byte >> 4];
    *dst++ = kDigits[byte & 15];
    if (bytesPerLine > 0 && ((i + 1) % bytesPerLine == 0 || i + 1 == size)) {
      *dst++ = '\r';
      *dst++ = '\n';
    }
  }
  out.resize(dst - out.data());
}

}  // namespace richedit::rtf
