#include "platform/richedit/TextConversion.h"

#include <algorithm>
#include <cstdint>

namespace richedit {

QString toControlText(const QString& documentText) {
  QString out = documentText;
  for (QChar& ch : out) {
    if (ch == QChar::ParagraphSeparator) {
      ch = QLatin1Char('\r');
    } else if (ch == QChar::LineSeparator) {
      ch = QLatin1Char('\v');
    }
  }
  return out;
}

QString fromControlText(const QString& text) {
  QString out;
  out.reserve(text.size());
  const int n = int(text.size());
  for (int i = 0; i < n; ++i) {
    const QChar ch = text.at(i);
    if (ch == QLatin1Char('\r')) {
      if (i + 2 < n && text.at(i + 1) == QLatin1Char('\r') && text.at(i + 2) == QLatin1Char('\n')) {
        out += QLatin1Char(' ');
        i += 2;
        continue;
      }
      if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
      out += QChar::ParagraphSeparator;
    } else if (ch == QLatin1Char('\n')) {
      out += QChar::ParagraphSeparator;
    } else if (ch == QLatin1Char('\v')) {
      out += QChar::LineSeparator;
    } else {
      out += ch;
    }
  }
  return out;
}

QString withCrLf(const QString& controlText) {
  QString out = controlText;
  out.replace(QLatin1Char('\r'), QLatin1String("\r\n"));
  return out;
}

bool isValidUtf8(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const qsizetype n = bytes.size();
  for (qsizetype i = 0; i < n;) {
    const unsigned char c = p[i];
    int extra = 0;
    std::uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + extra >= n) return false;
    for (int k = 1; k <= extra; ++k) {
      if ((p[i + k] & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (p[i + k] & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

QString decodeWindows1252(QByteArrayView bytes) {
  // The code page's printable characters in 0x80..0x9F; the five holes map to themselves.
  static const char16_t high[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  QString out;
  out.resize(bytes.size());
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    out[i] = (c >= 0x80 && c <= 0x9F) ? QChar(high[c - 0x80]) : QChar(char16_t(c));
  }
  return out;
}

QString decodeText(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  if (isValidUtf8(bytes)) return QString::fromUtf8(bytes);
  return decodeWindows1252(bytes);
}

std::size_t utf8PrefixLength(QByteArrayView utf8, std::size_t capacity) {
  std::size_t n = std::min<std::size_t>(capacity, std::size_t(utf8.size()));
  if (n == std::size_t(utf8.size())) return n;
  // Step back over continuation bytes so that no character is cut in two.
  while (n > 0 && (static_cast<unsigned char>(utf8[qsizetype(n)]) & 0xC0) == 0x80) --n;
  return n;
}

}  // namespace richedit
