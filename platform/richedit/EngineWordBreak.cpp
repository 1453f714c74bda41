// EM_FINDWORDBREAK: words are runs of anything but blanks; a paragraph break counts as a
// blank that also breaks the line.

#include <QTextDocument>

#include "platform/richedit/RichEditEngine.h"

namespace richedit {

namespace {

bool isBlank(QChar c) {
  return c.isSpace() || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

bool isBreak(QChar c) {
  return c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

}  // namespace

LRESULT RichEditEngine::onFindWordBreak(WPARAM code, LPARAM position) {
  const int len = textLength();
  int pos = int(std::clamp<LPARAM>(position, 0, len));
  auto at = [&](int p) { return doc_->characterAt(p); };
  auto blank = [&](int p) { return isBlank(at(p)); };
  switch (code) {
    case WB_ISDELIMITER:
      return pos < len && blank(pos) ? 1 : 0;
    case WB_CLASSIFY: {
      if (pos >= len) return 0;
      const QChar c = at(pos);
      if (isBreak(c)) return WBF_ISWHITE | WBF_BREAKLINE;
      if (isBlank(c)) return WBF_ISWHITE | WBF_BREAKAFTER;
      return 0;
    }
    case WB_LEFT:
    case WB_MOVEWORDLEFT:  // the start of the word before, over the blanks between
      while (pos > 0 && blank(pos - 1)) --pos;
      while (pos > 0 && !blank(pos - 1)) --pos;
      return pos;
    case WB_RIGHT:
    case WB_MOVEWORDRIGHT:  // the start of the next word, over the blanks after this one
      while (pos < len && !blank(pos)) ++pos;
      while (pos < len && blank(pos)) ++pos;
      return pos;
    case WB_LEFTBREAK:  // the end of the word before
      while (pos > 0 && !blank(pos - 1)) --pos;
      while (pos > 0 && blank(pos - 1)) --pos;
      return pos;
    case WB_RIGHTBREAK:  // the end of this word
      while (pos < len && blank(pos)) ++pos;
      while (pos < len && !blank(pos)) ++pos;
      return pos;
    default:
      return 0;
  }
}

}  // namespace richedit
