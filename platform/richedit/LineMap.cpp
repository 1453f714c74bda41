#include "platform/richedit/LineMap.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace richedit {

void LineMap::contentsChanged(int pos, int removed, int added) {
  if (allDirty_) return;
  if (removed != added || std::size_t(doc_.blockCount()) != lines_.size()) {
    // Paragraphs may have come or gone: cheap enough to count them all again once.
    if (std::size_t(doc_.blockCount()) != lines_.size()) {
      allDirty_ = true;
      return;
    }
  }
  const int first = doc_.findBlock(pos).blockNumber();
  const int last = doc_.findBlock(pos + std::max(added, 0)).blockNumber();
  dirtyFrom_ = dirtyFrom_ < 0 ? first : std::min(dirtyFrom_, first);
  dirtyTo_ = std::max(dirtyTo_, last);
}

int LineMap::linesOf(const QTextBlock& block) const {
  const QTextLayout* layout = block.layout();
  const int n = layout != nullptr ? layout->lineCount() : 0;
  return std::max(n, 1);
}

void LineMap::remeasureAll() {
  // Asking for the last paragraph's rectangle makes the layout lay out everything before it.
  doc_.documentLayout()->blockBoundingRect(doc_.lastBlock());
  const int count = doc_.blockCount();
  lines_.assign(count, 1);
  firstLine_.assign(count + 1, 0);
  int i = 0;
  for (QTextBlock b = doc_.begin(); b.isValid() && i < count; b = b.next(), ++i) {
    lines_[i] = linesOf(b);
    firstLine_[i + 1] = firstLine_[i] + lines_[i];
  }
  allDirty_ = false;
  dirtyFrom_ = dirtyTo_ = -1;
  width_ = doc_.textWidth();
}

void LineMap::refresh() {
  if (doc_.textWidth() != width_ || std::size_t(doc_.blockCount()) != lines_.size()) {
    allDirty_ = true;
  }
  if (allDirty_) {
    remeasureAll();
    return;
  }
  if (dirtyFrom_ < 0) return;
  const int count = int(lines_.size());
  const int to = std::min(dirtyTo_, count - 1);
  QTextBlock b = doc_.findBlockByNumber(dirtyFrom_);
  doc_.documentLayout()->blockBoundingRect(doc_.findBlockByNumber(to));
  bool changed = false;
  for (int i = dirtyFrom_; i <= to && b.isValid(); ++i, b = b.next()) {
    const int n = linesOf(b);
    if (n != lines_[i]) {
      lines_[i] = n;
      changed = true;
    }
  }
  if (changed) {
    for (int i = dirtyFrom_; i < count; ++i) firstLine_[i + 1] = firstLine_[i] + lines_[i];
  }
  dirtyFrom_ = dirtyTo_ = -1;
}

int LineMap::lineCount() {
  refresh();
  return std::max(firstLine_.back(), 1);
}

int LineMap::blockOfLine(int line) const {
  // The last paragraph whose first line is at or before `line`.
  auto it = std::upper_bound(firstLine_.begin(), firstLine_.end() - 1, line);
  return int(it - firstLine_.begin()) - 1;
}

int LineMap::lineFromPosition(int pos) {
  refresh();
  pos = std::clamp(pos, 0, std::max(doc_.characterCount() - 1, 0));
  const QTextBlock block = doc_.findBlock(pos);
  if (!block.isValid()) return 0;
  const QTextLayout* layout = block.layout();
  int within = 0;
  if (layout != nullptr && layout->lineCount() > 0) {
    const QTextLine l = layout->lineForTextPosition(pos - block.position());
    within = l.isValid() ? l.lineNumber() : layout->lineCount() - 1;
  }
  return firstLine_[block.blockNumber()] + within;
}

bool LineMap::line(int index, Line& out) {
  refresh();
  if (index < 0 || index >= firstLine_.back()) return false;
  const int blockNo = blockOfLine(index);
  const QTextBlock block = doc_.findBlockByNumber(blockNo);
  if (!block.isValid()) return false;
  const QTextLayout* layout = block.layout();
  const int within = index - firstLine_[blockNo];
  if (layout == nullptr || layout->lineCount() == 0) {
    out = {block.position(), block.length() - 1, true};
    return true;
  }
  const QTextLine l = layout->lineAt(std::min(within, layout->lineCount() - 1));
  out.start = block.position() + l.textStart();
  out.endsParagraph = l.lineNumber() == layout->lineCount() - 1;
  // The paragraph's last line runs to its break; the layout counts no break character.
  out.length = out.endsParagraph ? block.length() - 1 - l.textStart() : l.textLength();
  return true;
}

}  // namespace richedit
