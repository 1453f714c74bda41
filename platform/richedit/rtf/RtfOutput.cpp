#include "platform/richedit/rtf/RtfOutput.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include "platform/encoding/CodePages.h"
#include "platform/encoding/Windows1252.h"

namespace richedit::rtf {

namespace {

// ASCII characters written as they are.
struct PlainTable {
  bool plain[128] = {};
  constexpr PlainTable() {
    for (int c = 0x20; c < 0x7f; ++c) plain[c] = c != '\\' && c != '{' && c != '}';
  }
};
constexpr PlainTable kPlain;

constexpr char kHexDigits[] = "0123456789abcdef";

// The byte that stands for a character in the font's encoding, -1 when it has none.
int byteIn(RtfOutput::Encoding encoding, char16_t c) {
  switch (encoding) {
    case RtfOutput::Encoding::Ansi:
      return c >= 0x80 ? textenc::windows1252Byte(c) : -1;
    case RtfOutput::Encoding::Symbol:
      return textenc::symbolByte(c);
    case RtfOutput::Encoding::UnicodeOnly:
      break;
  }
  return -1;
}

}  // namespace

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
    const int byte = byteIn(encoding, c);
    if (byte >= 0x20) {
      const char escape[4] = {'\\', '\'', kHexDigits[byte >> 4], kHexDigits[byte & 15]};
      out_.append(escape, 4);
      needsDelimiter_ = false;
    } else {
      appendUnicode(c);  // surrogate pairs go out as their two units
    }
  }
}

}  // namespace richedit::rtf
