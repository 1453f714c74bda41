#include "platform/richedit/rtf/RtfOutput.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace richedit::rtf {

namespace {

// Code page 1252 at 0x80..0x9F; the rest of 0xA0..0xFF is Latin-1.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// ASCII characters written as they are.
struct PlainTable {
  bool plain[128] = {};
  constexpr PlainTable() {
    for (int c = 0x20; c < 0x7f; ++c) plain[c] = c != '\\' && c != '{' && c != '}';
  }
};
constexpr PlainTable kPlain;

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

int cp1252Byte(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kCp1252High[i] == c) return 0x80 + i;
  return -1;
}

RtfOutput::RtfOutput(qsizetype reserve) {
  out_.reserve(reserve);
}

void RtfOutput::delimit() {
  if (needsDelimiter_) out_ += ' ';
  needsDelimiter_ = false;
}

void RtfOutput::word(const char* name) {
  out_ += '\\';
  out_ += name;
  needsDelimiter_ = true;
}

void RtfOutput::word(const char* name, int value) {
  out_ += '\\';
  out_ += name;
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out_.append(digits, end - digits);
  needsDelimiter_ = true;
}

void RtfOutput::raw(const char* text) {
  out_ += text;
  needsDelimiter_ = false;
}

void RtfOutput::raw(const QByteArray& bytes) {
  out_ += bytes;
  needsDelimiter_ = false;
}

void RtfOutput::lineEnd() {
  out_ += "\r\n";
  needsDelimiter_ = false;
}

void RtfOutput::appendUnicode(char16_t unit) {
  char escape[12] = {'\\', 'u'};
  char* end =
      std::to_chars(escape + 2, escape + sizeof escape - 1, int(static_cast<std::int16_t>(unit)))
          .ptr;
  *end++ = '?';
  out_.append(escape, end - escape);
  needsDelimiter_ = false;
}

void RtfOutput::text(QStringView text, Encoding encoding) {
  const QChar* p = text.data();
  const QChar* end = p + text.size();
  while (p < end) {
    // Runs of plain ASCII are copied at once.
    const QChar* start = p;
    while (p < end && p->unicode() < 128 && kPlain.plain[p->unicode()]) ++p;
    if (p > start) {
      delimit();
      const qsizetype n = p - start;
      const qsizetype at = out_.size();
      out_.resize(at + n);
      char* dst = out_.data() + at;
      for (qsizetype i = 0; i < n; ++i) dst[i] = char(start[i].unicode());
      continue;
    }
    const char16_t c = p->unicode();
    ++p;
    switch (c) {
      case u'\\':
        out_ += "\\\\";
        needsDelimiter_ = false;
        continue;
      case u'{':
        out_ += "\\{";
        needsDelimiter_ = false;
        continue;
      case u'}':
        out_ += "\\}";
        needsDelimiter_ = false;
        continue;
      case u'\t':
        word("tab");
        continue;
      case 0x2028:
        word("line");
        continue;
      case 0x00A0:
        out_ += "\\~";
        needsDelimiter_ = false;
        continue;
      case 0x00AD:
        out_ += "\\-";
        needsDelimiter_ = false;
        continue;
      case 0x2011:
        out_ += "\\_";
        needsDelimiter_ = false;
        continue;
      default:
        break;
    }
    if (c < 0x20) {  // a control character read from a file goes back as it came
      appendUnicode(c);
      continue;
    }
    const int byte = encoding == Encoding::Ansi && c >= 0x80 ? cp1252Byte(c) : -1;
    if (byte >= 0x80) {
      const char escape[4] = {'\\', '\'', kHexDigits[byte >> 4], kHexDigits[byte & 15]};
      out_.append(escape, 4);
      needsDelimiter_ = false;
    } else {
      appendUnicode(c);  // surrogate pairs go out as their two units
    }
  }
}

}  // namespace richedit::rtf
