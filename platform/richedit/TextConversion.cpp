#include "platform/richedit/TextConversion.h"

#include "platform/encoding/Utf8.h"

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

QString decodeText(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
  return textenc::decodeUtf8OrWindows1252(bytes);
}

}  // namespace richedit
