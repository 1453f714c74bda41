#include "platform/richedit/rtf/RtfLexer.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace richedit::rtf {

namespace {

bool isLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// True for the bytes that end a text run.
constexpr bool isSpecial(unsigned char c) {
  return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

struct SpecialTable {
  bool special[256] = {};
  constexpr SpecialTable() {
    for (int c = 0; c < 256; ++c) special[c] = isSpecial(static_cast<unsigned char>(c));
  }
};
constexpr SpecialTable kSpecial;

class Scanner {
 public:
  Scanner(QByteArrayView data, RtfListener& listener)
      : p_(data.data()),
        begin_(data.data()),
        end_(data.data() + data.size()),
        listener_(listener) {}

  void run() {
    while (p_ < end_) {
      const char c = *p_;
      if ((c == '{' || c == '}' || c == '\\') && trailByte()) continue;
      if (c == '{') {
        listener_.onGroupOpen(p_ - begin_);
        ++p_;
      } else if (c == '}') {
        ++p_;
        listener_.onGroupClose(p_ - begin_);
      } else if (c == '\\') {
        ++p_;
        escape();
      } else if (c == '\r' || c == '\n') {
        ++p_;
      } else {
        text();
      }
    }
  }

 private:
  void text() {
    const char* start = p_;
    while (p_ < end_ && !kSpecial.special[static_cast<unsigned char>(*p_)]) ++p_;
    listener_.onText(std::string_view(start, p_ - start));
  }

  // Delivers a syntax byte as the trail byte of a two-byte character when one is awaited. A
  // backslash that begins a \'hh or an escaped symbol stays an escape: that is the trail. But
  // "\\'hh" is a backslash trail byte written as it is, before the next character's lead byte.
  bool trailByte() {
    if (!listener_.awaitsTrailByte()) return false;
    if (*p_ == '\\' && p_ + 1 < end_) {
      const char next = p_[1];
      const bool hexFollows = next == '\\' && p_ + 2 < end_ && p_[2] == '\'';
      if (!hexFollows && (next == '\'' || next == '\\' || next == '{' || next == '}')) return false;
    }
    listener_.onText(std::string_view(p_, 1));
    ++p_;
    return true;
  }

  void escape() {
    if (p_ >= end_) return;
    const char c = *p_;
    if (isLetter(c)) {
      word();
    } else if (c == '\'') {
      ++p_;
      hexByte();
    } else if (c == '\\' || c == '{' || c == '}') {
      listener_.onText(std::string_view(p_, 1));
      ++p_;
    } else {
      // A backslash before a line end stands for \par; the reader is told by the symbol '\n'.
      listener_.onControlSymbol(c == '\r' ? '\n' : c);
      ++p_;
    }
  }

  void hexByte() {
    const int high = p_ < end_ ? hexValue(*p_) : -1;
    if (high < 0) return;  // a bad digit drops the escape and keeps what follows
    ++p_;
    const int low = p_ < end_ ? hexValue(*p_) : -1;
    if (low < 0) {
      listener_.onHexByte(static_cast<unsigned char>(high));
      return;
    }
    ++p_;
    listener_.onHexByte(static_cast<unsigned char>(high * 16 + low));
  }

  void word() {
    const char* start = p_;
    while (p_ < end_ && isLetter(*p_)) ++p_;
    const auto length = p_ - start;
    ControlWord token;
    token.name =
        std::string_view(start, std::min<std::ptrdiff_t>(length, RtfLexer::kMaxWordLength));
    if (length <= RtfLexer::kMaxWordLength) token.info = findWord(token.name);
    parameter(token);
    if (p_ < end_ && *p_ == ' ') ++p_;
    if (token.info && token.info->id == Word::Bin) {
      binary(token);
      return;
    }
    listener_.onControlWord(token);
  }

  void parameter(ControlWord& token) {
    const bool negative = p_ < end_ && *p_ == '-' && p_ + 1 < end_ && isDigit(p_[1]);
    if (negative) ++p_;
    if (p_ >= end_ || !isDigit(*p_)) return;
    std::int64_t value = 0;
    while (p_ < end_ && isDigit(*p_)) {
      // Saturate rather than overflow; the digits are consumed all the same.
      if (value <= INT_MAX) value = value * 10 + (*p_ - '0');
      ++p_;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    token.hasParameter = true;
    token.parameter = static_cast<int>(value);
  }

  void binary(const ControlWord& token) {
    const std::int64_t left = end_ - p_;
    std::int64_t count = token.hasParameter ? token.parameter : 0;
    if (count < 0) count = 0;
    if (count > left) count = left;  // a length beyond the data takes what is there
    listener_.onBinary(std::string_view(p_, static_cast<std::size_t>(count)));
    p_ += count;
  }

  const char* p_;
  const char* begin_;
  const char* end_;
  RtfListener& listener_;
};

}  // namespace

void RtfLexer::tokenize(QByteArrayView data, RtfListener& listener) {
  Scanner(data, listener).run();
}

}  // namespace richedit::rtf
