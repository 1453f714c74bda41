#include "platform/richedit/UrlDetector.h"

namespace richedit {

namespace {

const char* const kPrefixes[] = {"http://", "https://", "ftp://", "mailto:", "www."};

bool endsAddress(QChar ch) {
  return ch.isSpace() || ch == QLatin1Char('<') || ch == QLatin1Char('>') ||
         ch == QLatin1Char('"') || ch == QChar::ObjectReplacementCharacter || ch.unicode() < 0x20;
}

// Punctuation that ends a sentence rather than the address.
bool trailingPunctuation(QChar ch) {
  return QStringView(u".,;:!?)]}'").contains(ch);
}

int prefixAt(const QString& text, int i) {
  for (const char* prefix : kPrefixes) {
    const QLatin1String p(prefix);
    if (QStringView(text).sliced(i).startsWith(p, Qt::CaseInsensitive)) return int(p.size());
  }
  return 0;
}

}  // namespace

QList<TextSpan> findUrls(const QString& text) {
  QList<TextSpan> spans;
  const int n = int(text.size());
  for (int i = 0; i < n; ++i) {
    if (i > 0 && (text.at(i - 1).isLetterOrNumber() || text.at(i - 1) == QLatin1Char('.')))
      continue;
    const int prefix = prefixAt(text, i);
    if (prefix == 0) continue;
    int end = i + prefix;
    while (end < n && !endsAddress(text.at(end))) ++end;
    while (end > i + prefix && trailingPunctuation(text.at(end - 1))) --end;
    if (end > i + prefix) {
      spans.append({i, end - i});
      i = end - 1;
    }
  }
  return spans;
}

}  // namespace richedit
