#include "platform/richedit/LineMap.h"

#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/document/TableFormat.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

namespace richedit {

void LineMap::invalidateAll() {
  const std::size_t count = std::size_t(doc_.blockCount());
  lines_.assign(count, -1);
  firstLine_.assign(count + 1, 0);
  known_ = 0;
  width_ = doc_.textWidth();
}

void LineMap::contentsChanged(int pos, int, int added) {
  const std::size_t count = std::size_t(doc_.blockCount());
  if (lines_.empty()) {
    invalidateAll();
    return;
  }
  const std::size_t first = std::size_t(std::max(doc_.findBlock(pos).blockNumber(), 0));
  QTextBlock lastBlock = doc_.findBlock(pos + std::max(added, 0));
  if (!lastBlock.isValid()) lastBlock = doc_.lastBlock();
  const std::size_t last = std::max(std::size_t(lastBlock.blockNumber()), first);
  // The paragraphs [first, last] stand where as many stood before, less the difference.
  const long delta = long(count) - long(lines_.size());
  if (delta > 0) {
    lines_.insert(lines_.begin() + long(first), std::size_t(delta), -1);
  } else if (delta < 0) {
    const std::size_t n = std::min(std::size_t(-delta), lines_.size() - first);
    lines_.erase(lines_.begin() + long(first), lines_.begin() + long(first + n));
  }
  if (lines_.size() != count || last >= count) {
    invalidateAll();
    return;
  }
  for (std::size_t i = first; i <= last; ++i) lines_[i] = -1;
  firstLine_.resize(count + 1);
  known_ = std::min(known_, first);
}

void LineMap::checkWidth() {
  if (doc_.textWidth() != width_ || std::size_t(doc_.blockCount()) != lines_.size()) {
    invalidateAll();
  }
}

// A table row is one line, however its cells wrap, as the platform counts it.
int LineMap::linesOf(const QTextBlock& block) const {
  if (fmt::isTableRow(block.blockFormat())) return 1;
  ParagraphLayout::ensureLines(doc_, block);
  const QTextLayout* layout = block.layout();
  const int n = layout != nullptr ? layout->lineCount() : 0;
  return std::max(n, 1);
}

void LineMap::measureThrough(std::size_t block) {
  if (lines_.empty()) return;
  block = std::min(block, lines_.size() - 1);
  if (known_ > block) return;
  QTextBlock b = doc_.findBlockByNumber(int(known_));
  for (; known_ <= block && b.isValid(); ++known_, b = b.next()) {
    if (lines_[known_] < 0) lines_[known_] = linesOf(b);
    firstLine_[known_ + 1] = firstLine_[known_] + lines_[known_];
  }
}

void LineMap::measureUntilLine(int line) {
  QTextBlock b = doc_.findBlockByNumber(int(known_));
  for (; known_ < lines_.size() && firstLine_[known_] <= line && b.isValid();
       ++known_, b = b.next()) {
    if (lines_[known_] < 0) lines_[known_] = linesOf(b);
    firstLine_[known_ + 1] = firstLine_[known_] + lines_[known_];
  }
}

int LineMap::lineCount() {
  checkWidth();
  if (lines_.empty()) return 1;
  measureThrough(lines_.size() - 1);
  return std::max(firstLine_.back(), 1);
}

int LineMap::lineFromPosition(int pos) {
  checkWidth();
  pos = std::clamp(pos, 0, std::max(doc_.characterCount() - 1, 0));
  const QTextBlock block = doc_.findBlock(pos);
  if (!block.isValid() || lines_.empty()) return 0;
  measureThrough(std::size_t(block.blockNumber()));
  const QTextLayout* layout = block.layout();
  int within = 0;
  if (layout != nullptr && layout->lineCount() > 0 &&
      lines_[std::size_t(block.blockNumber())] > 1) {
    const QTextLine l = layout->lineForTextPosition(pos - block.position());
    within = l.isValid() ? l.lineNumber() : layout->lineCount() - 1;
  }
  return firstLine_[std::size_t(block.blockNumber())] + within;
}

bool LineMap::line(int index, Line& out) {
  checkWidth();
  if (index < 0 || lines_.empty()) return false;
  measureUntilLine(index);
  if (index >= firstLine_[known_]) return false;
  // The last paragraph whose first line is at or before `index`.
  const auto it = std::upper_bound(firstLine_.begin(), firstLine_.begin() + long(known_), index);
  const int blockNo = int(it - firstLine_.begin()) - 1;
  const QTextBlock block = doc_.findBlockByNumber(blockNo);
  if (!block.isValid()) return false;
  if (lines_[std::size_t(blockNo)] == 1) {  // a paragraph of one line, or a table row
    out = {block.position(), block.length() - 1, true};
    return true;
  }
  ParagraphLayout::ensureLines(doc_, block);
  const QTextLayout* layout = block.layout();
  const int within = index - firstLine_[std::size_t(blockNo)];
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
