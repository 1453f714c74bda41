// EM_FINDTEXT and EM_FINDTEXTEX: one search of the document, downward from cpMin to cpMax
// (-1 is the end) or, without FR_DOWN, upward from cpMin toward the start.

#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/TextConversion.h"
#include "platform/richedit/TextSearch.h"

namespace richedit {

LRESULT RichEditEngine::findText(WPARAM flags, const CHARRANGE& range, const char* needle) {
  if (needle == nullptr || *needle == '\0') return -1;
  const QString text = fromControlText(decodeText(QByteArrayView(needle)));
  SearchOptions options;
  options.down = (flags & FR_DOWN) != 0;
  options.matchCase = (flags & FR_MATCHCASE) != 0;
  options.wholeWord = (flags & FR_WHOLEWORD) != 0;
  if (range.cpMin < 0) return -1;
  if (options.down) {
    const int to = range.cpMax < 0 ? textLength() : range.cpMax;
    if (range.cpMax >= 0 && range.cpMin > range.cpMax) return -1;
    return findInDocument(*doc_, text, range.cpMin, to, options);
  }
  // Upward, cpMax bounds the search only when it lies below cpMin.
  const int lowest = range.cpMax >= 0 && range.cpMax < range.cpMin ? range.cpMax : 0;
  return findInDocument(*doc_, text, range.cpMin, lowest, options);
}

LRESULT RichEditEngine::onFindText(WPARAM flags, LPARAM record) {
  const auto* find = reinterpret_cast<const FINDTEXTA*>(record);
  if (find == nullptr) return -1;
  return findText(flags, find->chrg, find->lpstrText);
}

LRESULT RichEditEngine::onFindTextEx(WPARAM flags, LPARAM record) {
  auto* find = reinterpret_cast<FINDTEXTEXA*>(record);
  if (find == nullptr) return -1;
  const LRESULT hit = findText(flags, find->chrg, find->lpstrText);
  if (hit < 0) {
    find->chrgText = {-1, -1};
    return -1;
  }
  const LONG length = LONG(fromControlText(decodeText(QByteArrayView(find->lpstrText))).size());
  find->chrgText = {LONG(hit), LONG(hit) + length};
  return hit;
}

}  // namespace richedit
