// Selection, caret scrolling, and the mapping between positions and window coordinates.

#include <QTextBlock>
#include <QTextDocument>
#include <cstdint>

#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

LRESULT RichEditEngine::onExGetSel(LPARAM range) {
  auto* out = reinterpret_cast<CHARRANGE*>(range);
  if (out != nullptr) *out = selection();
  return 0;
}

LRESULT RichEditEngine::onExSetSel(LPARAM range) {
  const auto* in = reinterpret_cast<const CHARRANGE*>(range);
  if (in == nullptr) return selection().cpMax;
  return setSelectionRange(in->cpMin, in->cpMax);
}

LRESULT RichEditEngine::onGetSel(WPARAM start, LPARAM end) {
  const CHARRANGE sel = selection();
  if (auto* s = reinterpret_cast<DWORD*>(start)) *s = DWORD(sel.cpMin);
  if (auto* e = reinterpret_cast<DWORD*>(end)) *e = DWORD(sel.cpMax);
  if (sel.cpMin > 0xFFFF || sel.cpMax > 0xFFFF) return -1;
  return MAKELONG(WORD(sel.cpMin), WORD(sel.cpMax));
}

LRESULT RichEditEngine::onSetSel(WPARAM start, LPARAM end) {
  return setSelectionRange(LONG(std::intptr_t(start)), LONG(end));
}

// The platform's rules: equal ends that are both out of the text put the caret at the end;
// otherwise a negative start deselects, leaving the caret at the end of the selection; a
// negative end (or one past the text) runs the selection over the final paragraph mark; a
// reversed range is turned round; a start past the text puts the caret at the end. Answers the
// new end.
LRESULT RichEditEngine::setSelectionRange(LONG cpMin, LONG cpMax) {
  const LONG len = textLength();
  cpMin = std::max<LONG>(cpMin, -1);  // all negative values are the same
  cpMax = std::max<LONG>(cpMax, -1);
  LONG from = len;
  LONG to = len;
  if (cpMin == cpMax && (cpMax < 0 || cpMax > len)) {
    // the caret at the end
  } else if (cpMin < 0) {
    from = to = std::min<LONG>(selection().cpMax, len);
  } else {
    if (cpMax < 0) cpMax = len + 1;
    from = std::min(cpMin, cpMax);
    to = std::min<LONG>(std::max(cpMin, cpMax), len + 1);
    if (from > len) from = to = len;
  }
  const bool pastMark = to == len + 1;
  QTextCursor c = cursor();
  const CHARRANGE before = selection();
  if (before.cpMin != from || before.cpMax != to) {
    c.setPosition(from);
    c.setPosition(std::min(to, len), QTextCursor::KeepAnchor);
    settingSelection_ = true;
    selectionPastMark_ = pastMark;
    setCursor(c);
    settingSelection_ = false;
    selectionPastMark_ = pastMark;
  }
  return to;
}

void RichEditEngine::selectAll() {
  NotifyBatch batch(notifier_);
  setSelectionRange(0, -1);
}

LRESULT RichEditEngine::onScrollCaret() {
  view_.ensureCursorVisible();
  return 0;
}

QPoint RichEditEngine::clientPosOf(int pos) const {
  QTextCursor c(doc_);
  c.setPosition(std::clamp(pos, 0, textLength()));
  ParagraphLayout::ensureLines(*doc_, c.block());  // also where no view shows the text
  const QRect r = view_.caretRect(c);
  return view_.viewport()->mapTo(&control_, r.topLeft());
}

// Two forms: the point form passes a POINT* in wParam and the position in lParam; the older
// form passes the position in wParam and answers MAKELONG(x, y). A wParam above 32 bits that
// is not a negative position widened to 64 bits can only be a user-space address, which tells
// the forms apart.
LRESULT RichEditEngine::onPosFromChar(WPARAM wParam, LPARAM lParam) {
  if (wParam > 0xFFFFFFFFu && wParam < (WPARAM(1) << 47)) {
    auto* point = reinterpret_cast<POINT*>(wParam);
    const QPoint p = clientPosOf(int(std::clamp<LPARAM>(lParam, 0, textLength())));
    point->x = p.x();
    point->y = p.y();
    return 0;
  }
  const LONG index = LONG(std::intptr_t(wParam));
  if (index < 0 || index > textLength()) return -1;
  const QPoint p = clientPosOf(index);
  return MAKELONG(WORD(p.x()), WORD(p.y()));
}

LRESULT RichEditEngine::onCharFromPos(LPARAM point) {
  const auto* p = reinterpret_cast<const POINT*>(point);
  if (p == nullptr) return 0;
  const QPoint inViewport = view_.viewport()->mapFrom(&control_, QPoint(p->x, p->y));
  return view_.cursorAt(inViewport).position();
}

LRESULT RichEditEngine::onSelectionType() {
  const CHARRANGE sel = selection();
  if (sel.cpMin == sel.cpMax) return SEL_EMPTY;
  const QString text = cursor().selectedText();
  const int objects = int(text.count(QChar::ObjectReplacementCharacter));
  const int chars = int(text.size()) - objects + (selectionPastMark_ ? 1 : 0);
  LRESULT type = SEL_EMPTY;
  if (chars > 0) type |= SEL_TEXT;
  if (chars > 1) type |= SEL_MULTICHAR;
  if (objects == 1) type |= SEL_OBJECT;
  if (objects > 1) type |= SEL_OBJECT | SEL_MULTIOBJECT;
  return type;
}

}  // namespace richedit
