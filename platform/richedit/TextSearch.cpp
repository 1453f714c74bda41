#include "platform/richedit/TextSearch.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace richedit {

namespace {

// Small enough that a hit close by (each step of a Replace All) costs little to read.
constexpr int kFirstChunk = 256;

bool isWordChar(QChar ch) {
  return ch.isLetterOrNumber() || ch.isMark() || ch == QLatin1Char('_');
}

// The document's text in [from, to), clamped to it.
class DocumentText {
 public:
  explicit DocumentText(const QTextDocument& doc)
      : doc_(doc), length_(std::max(doc.characterCount() - 1, 0)) {}
  int length() const { return length_; }
  QString read(int from, int to) const {
    from = std::clamp(from, 0, length_);
    to = std::clamp(to, 0, length_);
    if (to <= from) return {};
    QTextCursor c(const_cast<QTextDocument*>(&doc_));
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    return c.selectedText();
  }

 private:
  const QTextDocument& doc_;
  int length_;
};

// A hit in `chunk` (which starts at document position `base` and has one character of context
// on each side where the document has one) is whole when neither neighbour is a word character.
bool wholeWordAt(const QString& chunk, int at, int length) {
  const bool before = at > 0 && isWordChar(chunk.at(at - 1));
  const bool after = at + length < chunk.size() && isWordChar(chunk.at(at + length));
  return !before && !after;
}

int searchDown(const DocumentText& text, const QString& needle, int from, int to,
               const SearchOptions& options) {
  const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const int n = int(needle.size());
  int chunk = kFirstChunk;
  for (int start = from; start + n <= to;) {
    const int end = std::min(to, start + std::max(chunk, n));
    // One character of context each side for the whole-word test.
    const int readFrom = std::max(start - 1, 0);
    const QString part = text.read(readFrom, std::min(end + 1, text.length()));
    const int offset = start - readFrom;
    const int last = end - readFrom;  // hits must end here at the latest
    for (qsizetype at = part.indexOf(needle, offset, cs); at >= 0 && at + n <= last;
         at = part.indexOf(needle, at + 1, cs)) {
      if (!options.wholeWord || wholeWordAt(part, int(at), n)) return readFrom + int(at);
    }
    if (end >= to) break;
    start = end - n + 1;  // a hit may straddle the chunks
    chunk *= 2;
  }
  return -1;
}

int searchUp(const DocumentText& text, const QString& needle, int from, int lowest,
             const SearchOptions& options) {
  const Qt::CaseSensitivity cs = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const int n = int(needle.size());
  int chunk = kFirstChunk;
  for (int end = from; end - n >= lowest;) {
    const int start = std::max(lowest, end - std::max(chunk, n));
    const int readFrom = std::max(start - 1, 0);
    const QString part = text.read(readFrom, std::min(end + 1, text.length()));
    const int first = start - readFrom;  // hits must start here at the earliest
    for (qsizetype at = part.lastIndexOf(needle, end - readFrom - n, cs); at >= first;
         at = at > 0 ? part.lastIndexOf(needle, at - 1, cs) : -1) {
      if (!options.wholeWord || wholeWordAt(part, int(at), n)) return readFrom + int(at);
    }
    if (start <= lowest) break;
    end = start + n - 1;
    chunk *= 2;
  }
  return -1;
}

}  // namespace

int findInDocument(const QTextDocument& doc, const QString& needle, int from, int to,
                   const SearchOptions& options) {
  if (needle.isEmpty()) return -1;
  const DocumentText text(doc);
  if (options.down) {
    return searchDown(text, needle, std::max(from, 0), std::min(to, text.length()), options);
  }
  return searchUp(text, needle, std::min(from, text.length()), std::max(to, 0), options);
}

}  // namespace richedit
