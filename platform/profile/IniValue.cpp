#include "platform/profile/IniValue.h"

#include <cstdint>
#include <limits>

namespace profile {
namespace {

bool IsBlank(QChar c) {
  return c == u' ' || c == u'\t';
}

QStringView TrimBlanks(QStringView text) {
  qsizetype begin = 0;
  qsizetype end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.mid(begin, end - begin);
}

bool IsQuote(QChar c) {
  return c == u'"' || c == u'\'';
}

bool HasMatchingQuotes(QStringView text) {
  return text.size() >= 2 && IsQuote(text.front()) && text.back() == text.front();
}

int DigitValue(QChar c, int base) {
  int value = -1;
  if (c >= u'0' && c <= u'9')
    value = c.unicode() - u'0';
  else if (c >= u'a' && c <= u'f')
    value = c.unicode() - u'a' + 10;
  else if (c >= u'A' && c <= u'F')
    value = c.unicode() - u'A' + 10;
  return value < base ? value : -1;
}

}  // namespace

QString UnquoteValue(QStringView raw) {
  QStringView value = TrimBlanks(raw);
  if (HasMatchingQuotes(value)) value = value.mid(1, value.size() - 2);
  return value.toString();
}

QString QuoteValue(const QString& value) {
  QString text = value;
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text.replace(u'\r', u' ');
  text.replace(u'\n', u' ');
  const bool blankEdge = !text.isEmpty() && (IsBlank(text.front()) || IsBlank(text.back()));
  if (blankEdge || HasMatchingQuotes(text)) return u'"' + text + u'"';
  return text;
}

std::optional<int> ParseInteger(QStringView text) {
  QStringView s = TrimBlanks(text);
  bool negative = false;
  if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
    negative = s.front() == u'-';
    s = s.mid(1);
  }
  int base = 10;
  if (s.size() > 2 && s[0] == u'0' && (s[1] == u'x' || s[1] == u'X')) {
    base = 16;
    s = s.mid(2);
  }
  if (s.isEmpty()) return std::nullopt;
  const std::int64_t limit = std::int64_t(std::numeric_limits<int>::max()) + (negative ? 1 : 0);
  std::int64_t value = 0;
  for (QChar c : s) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  return static_cast<int>(negative ? -value : value);
}

QString CutToBuffer(const QString& value, qsizetype maxChars) {
  if (value.size() <= maxChars) return value;
  qsizetype length = maxChars;
  if (length > 0 && value[length - 1].isHighSurrogate()) --length;
  return value.left(length);
}

}  // namespace profile
