#include "platform/richedit/TextLengthCache.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace richedit {

// A paragraph's text in UTF-8 as the control hands it out: a line break (VT) is one byte,
// an object one character like any other.
std::int64_t TextLengthCache::bytesOf(const QTextBlock& block) const {
  const QString text = block.text();
  std::int64_t n = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text.at(i).unicode();
    if (c < 0x80 || c == 0x2028) {
      n += 1;
    } else if (c < 0x800) {
      n += 2;
    } else if (QChar::isHighSurrogate(c) && i + 1 < text.size() &&
               QChar::isLowSurrogate(text.at(i + 1).unicode())) {
      n += 4;
      ++i;
    } else {
      n += 3;
    }
  }
  return n;
}

void TextLengthCache::recount() {
  bytes_.clear();
  bytes_.reserve(std::size_t(doc_.blockCount()));
  total_ = 0;
  for (QTextBlock b = doc_.begin(); b.isValid(); b = b.next()) {
    bytes_.push_back(bytesOf(b));
    total_ += bytes_.back();
  }
  valid_ = true;
}

void TextLengthCache::contentsChanged(int pos, int, int added) {
  if (!valid_) return;
  const std::size_t count = std::size_t(doc_.blockCount());
  const std::size_t first = std::size_t(std::max(doc_.findBlock(pos).blockNumber(), 0));
  QTextBlock lastBlock = doc_.findBlock(pos + std::max(added, 0));
  if (!lastBlock.isValid()) lastBlock = doc_.lastBlock();
  const std::size_t last = std::max(std::size_t(lastBlock.blockNumber()), first);
  // The paragraphs [first, last] stand where as many stood before, less the difference.
  const long delta = long(count) - long(bytes_.size());
  if (delta > 0) {
    bytes_.insert(bytes_.begin() + long(first), std::size_t(delta), 0);
  } else if (delta < 0) {
    const std::size_t n = std::min(std::size_t(-delta), bytes_.size() - first);
    for (std::size_t i = first; i < first + n; ++i) total_ -= bytes_[i];
    bytes_.erase(bytes_.begin() + long(first), bytes_.begin() + long(first + n));
  }
  if (bytes_.size() != count || last >= count) {
    valid_ = false;
    return;
  }
  QTextBlock b = doc_.findBlockByNumber(int(first));
  for (std::size_t i = first; i <= last && b.isValid(); ++i, b = b.next()) {
    total_ -= bytes_[i];
    bytes_[i] = bytesOf(b);
    total_ += bytes_[i];
  }
}

std::int64_t TextLengthCache::withCrLfUtf8() {
  if (!valid_) recount();
  return total_ + 2 * std::int64_t(bytes_.empty() ? 0 : bytes_.size() - 1);
}

}  // namespace richedit
