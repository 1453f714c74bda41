// Protected text and links: a change that touches protected text is put to the host
// (EN_PROTECTED), and mouse messages over links are told to it (EN_LINK).

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <vector>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/InputMessages.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"
#include "platform/richedit/UrlDetector.h"

namespace richedit {

namespace {

// The format of the character at pos (not of the one before it, as QTextCursor reports).
QTextCharFormat formatAt(const QTextDocument& doc, int pos) {
  const QTextBlock block = doc.findBlock(pos);
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment f = it.fragment();
    if (pos >= f.position() && pos < f.position() + f.length()) return f.charFormat();
  }
  return block.charFormat();
}

bool protectedAt(const QTextDocument& doc, int pos) {
  return formatAt(doc, pos).boolProperty(fmt::CharProtected);
}

}  // namespace

bool RichEditEngine::rangeProtected(int from, int to) const {
  const int len = textLength();
  if (from == to) {
    // An insertion inside a protected run changes it; one at its edge does not.
    return from > 0 && from < len && protectedAt(*doc_, from - 1) && protectedAt(*doc_, from);
  }
  for (QTextBlock b = doc_->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (f.position() >= to) break;
      if (f.position() + f.length() > from && f.charFormat().boolProperty(fmt::CharProtected)) {
        return true;
      }
    }
  }
  return false;
}

bool RichEditEngine::allowChange(int from, int to, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!rangeProtected(from, to) || !notifier_.wants(ENM_PROTECTED)) return true;
  ENPROTECTED record{};
  record.msg = msg;
  record.wParam = wParam;
  record.lParam = lParam;
  record.chrg = {LONG(from), LONG(to)};
  return notifier_.notify(record, EN_PROTECTED) == 0;
}

std::optional<CHARRANGE> RichEditEngine::linkAt(int pos) const {
  if (pos < 0 || pos >= textLength()) return std::nullopt;
  const QTextBlock block = doc_->findBlock(pos);
  const QTextCharFormat at = formatAt(*doc_, pos);
  if (at.isAnchor()) {
    // The link runs over the neighbouring runs that carry the same link.
    std::vector<QTextFragment> runs;
    std::size_t here = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (pos >= f.position() && pos < f.position() + f.length()) here = runs.size();
      runs.push_back(f);
    }
    auto same = [&](const QTextFragment& f) {
      return f.charFormat().isAnchor() && f.charFormat().anchorHref() == at.anchorHref();
    };
    std::size_t first = here;
    std::size_t last = here;
    while (first > 0 && same(runs[first - 1])) --first;
    while (last + 1 < runs.size() && same(runs[last + 1])) ++last;
    return CHARRANGE{LONG(runs[first].position()),
                     LONG(runs[last].position() + runs[last].length())};
  }
  if (!autoUrl_) return std::nullopt;
  const int within = pos - block.position();
  for (const TextSpan& span : findUrls(block.text())) {
    if (within >= span.start && within < span.start + span.length) {
      return CHARRANGE{LONG(block.position() + span.start),
                       LONG(block.position() + span.start + span.length)};
    }
  }
  return std::nullopt;
}

RichEditEngine::LinkCover RichEditEngine::detectedLinkCover(int from, int to) const {
  if (!autoUrl_ || from >= to) return LinkCover::None;
  int covered = 0;
  for (QTextBlock b = doc_->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
    for (const TextSpan& span : findUrls(b.text())) {
      const int start = std::max(from, b.position() + span.start);
      const int end = std::min(to, b.position() + span.start + span.length);
      covered += std::max(end - start, 0);
    }
  }
  if (covered == 0) return LinkCover::None;
  return covered == to - from ? LinkCover::All : LinkCover::Some;
}

std::optional<CHARRANGE> RichEditEngine::linkAtPoint(const QPoint& viewportPos) const {
  const int hit = doc_->documentLayout()->hitTest(view_.toDocument(viewportPos), Qt::ExactHit);
  if (hit < 0) return std::nullopt;
  // The hit is a caret position; the character under the mouse may be the one before it.
  int ch = hit;
  if (hit > 0) {
    QTextCursor c(doc_);
    c.setPosition(hit);
    if (viewportPos.x() < view_.caretRect(c).left()) ch = hit - 1;
  }
  return linkAt(ch);
}

bool RichEditEngine::mouseOverLink(UINT msg, const QPoint& viewportPos, Qt::KeyboardModifiers mods,
                                   Qt::MouseButtons buttons) {
  if (!notifier_.wants(ENM_LINK)) return false;
  const std::optional<CHARRANGE> link = linkAtPoint(viewportPos);
  if (!link) return false;
  const QPoint client = view_.viewport()->mapTo(&control_, viewportPos);
  ENLINK record{};
  record.msg = msg;
  record.wParam = mouseKeyState(mods, buttons);
  record.lParam = pointParam(client);
  record.chrg = *link;
  return notifier_.notify(record, EN_LINK) != 0;
}

}  // namespace richedit
