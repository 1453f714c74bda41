// EM_GETPARAFORMAT / EM_SETPARAFORMAT over every paragraph the selection touches.

#include <QTextBlock>
#include <QTextDocument>

#include "platform/richedit/ParaFormatMapping.h"
#include "platform/richedit/RichEditEngine.h"

namespace richedit {

namespace {

// The paragraphs from the selection's start to its end; a selection that ends where a
// paragraph begins does not reach into it.
std::pair<QTextBlock, QTextBlock> blocksOf(const QTextDocument& doc, const QTextCursor& c,
                                           bool wholeDocument) {
  if (wholeDocument) return {doc.firstBlock(), doc.lastBlock()};
  const int from = c.selectionStart();
  int to = c.selectionEnd();
  QTextBlock last = doc.findBlock(to);
  if (to > from && last.position() == to && last.previous().isValid()) last = last.previous();
  return {doc.findBlock(from), last};
}

}  // namespace

LRESULT RichEditEngine::onGetParaFormat(LPARAM record) {
  PARAFORMAT2 r{};
  bool large = false;
  if (!readParaRecord(record, r, large)) return 0;
  const UINT size = r.cbSize;
  auto [first, last] = blocksOf(*doc_, cursor(), false);
  const QTextBlockFormat at = first.blockFormat();
  DWORD mask = large ? kParaMaskLarge : PFM_ALL;
  for (QTextBlock b = first.next(); b.isValid() && b.blockNumber() <= last.blockNumber();
       b = b.next()) {
    mask &= ~paraFormatDifferences(at, b.blockFormat());
  }
  paraFormatToRecord(at, r);
  r.cbSize = size;
  r.dwMask = mask;
  writeParaRecord(r, large, record);
  return mask;
}

// Paragraph formats leave the modify flag as it was, as on the platform (the editor component
// marks the text modified when a paragraph really changed).
LRESULT RichEditEngine::onSetParaFormat(LPARAM record) {
  PARAFORMAT2 r{};
  bool large = false;
  if (!readParaRecord(record, r, large)) return 0;
  undo_.stopTyping();  // text typed in a new paragraph format is a new step
  auto [first, last] = blocksOf(*doc_, cursor(), plainTextMode());
  QTextCursor edit(doc_);
  ++suppressModify_;
  edit.beginEditBlock();
  for (QTextBlock b = first; b.isValid() && b.blockNumber() <= last.blockNumber(); b = b.next()) {
    QTextBlockFormat f = b.blockFormat();
    applyParaRecord(r, large, f);
    if (paraFormatDifferences(f, b.blockFormat()) == 0) continue;
    edit.setPosition(b.position());
    edit.setBlockFormat(f);
  }
  edit.endEditBlock();
  --suppressModify_;
  return 1;
}

}  // namespace richedit
