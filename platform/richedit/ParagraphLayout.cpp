#include "platform/richedit/ParagraphLayout.h"

#include <QPainter>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

#include "platform/richedit/PictureObject.h"

namespace richedit {

namespace {

// The platform's default tab stops lie every half inch (720 twips).
constexpr double kDefaultTabPixels = 48.0;
constexpr double kUnwrappedWidth = 1.0e7;

}  // namespace

ParagraphLayout::ParagraphLayout(QTextDocument* doc) : QAbstractTextDocumentLayout(doc) {
  registerHandler(QTextFormat::ImageObject, new PictureObject(this));
  // Tells QTextEdit that unwrapped text may be laid out without a page width.
  setProperty("contentHasAlignment", false);
}

double ParagraphLayout::width() const {
  const double w = document()->pageSize().width();
  return w > 0 ? w : 0;
}

void ParagraphLayout::layoutBlock(const QTextBlock& block, std::size_t index) {
  QTextLayout* layout = block.layout();
  const QTextBlockFormat bf = block.blockFormat();
  const double margin = document()->documentMargin();
  const bool wrap =
      width() > 0 && document()->defaultTextOption().wrapMode() != QTextOption::NoWrap;

  QTextOption option = document()->defaultTextOption();
  option.setTextDirection(block.textDirection());
  // Left and right are the paragraph's leading and trailing edges unless marked absolute.
  option.setAlignment(QStyle::visualAlignment(block.textDirection(), bf.alignment()));
  option.setTabStopDistance(kDefaultTabPixels);
  if (bf.hasProperty(QTextFormat::TabPositions)) option.setTabs(bf.tabPositions());
  if (!wrap) option.setWrapMode(QTextOption::NoWrap);
  layout->setTextOption(option);
  layout->setCacheEnabled(true);

  const bool rtl = block.textDirection() == Qt::RightToLeft;
  const double left = margin + bf.leftMargin();
  const double available =
      wrap ? std::max(1.0, width() - 2 * margin - bf.leftMargin() - bf.rightMargin())
           : kUnwrappedWidth;
  const double indent = bf.textIndent();
  double y = bf.topMargin();
  double natural = 0;
  bool first = true;
  layout->beginLayout();
  for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
    line.setLeadingIncluded(true);
    const double shift = first ? indent : 0;
    line.setLineWidth(std::max(1.0, available - shift));
    line.setPosition(QPointF(left + (rtl ? 0 : shift), y));
    y += line.height();
    natural = std::max(natural, left + (rtl ? 0 : shift) + line.naturalTextWidth());
    first = false;
  }
  layout->endLayout();
  layout->setPosition(QPointF(0, 0));
  heights_[index] = y + bf.bottomMargin();
  widths_[index] = natural + bf.rightMargin() + margin;
}

void ParagraphLayout::updateTops(std::size_t from) {
  tops_.resize(heights_.size() + 1);
  if (from == 0) tops_[0] = document()->documentMargin();
  for (std::size_t i = from; i < heights_.size(); ++i) tops_[i + 1] = tops_[i] + heights_[i];
}

void ParagraphLayout::documentChanged(int from, int, int charsAdded) {
  QTextDocument* doc = document();
  const std::size_t count = std::size_t(doc->blockCount());
  QTextBlock first = doc->findBlock(from);
  QTextBlock last = doc->findBlock(from + std::max(charsAdded, 0));
  if (!first.isValid()) first = doc->firstBlock();
  if (!last.isValid()) last = doc->lastBlock();
  std::size_t firstNo = std::size_t(first.blockNumber());
  const std::size_t lastNo = std::size_t(last.blockNumber());

  // The paragraphs [firstNo, lastNo] replace as many before the change, less the difference.
  const long delta = long(count) - long(heights_.size());
  if (delta > 0) {
    heights_.insert(heights_.begin() + long(firstNo), std::size_t(delta), 0.0);
    widths_.insert(widths_.begin() + long(firstNo), std::size_t(delta), 0.0);
  } else if (delta < 0) {
    const std::size_t n = std::min<std::size_t>(std::size_t(-delta), heights_.size() - firstNo);
    heights_.erase(heights_.begin() + long(firstNo), heights_.begin() + long(firstNo + n));
    widths_.erase(widths_.begin() + long(firstNo), widths_.begin() + long(firstNo + n));
  }
  QTextBlock b = first;
  bool full = false;
  if (heights_.size() != count) {
    // Should not happen; lay everything out again rather than show a wrong layout.
    heights_.assign(count, 0.0);
    widths_.assign(count, 0.0);
    b = doc->firstBlock();
    firstNo = 0;
    full = true;
  }
  const std::size_t end = full ? count : std::max(lastNo, firstNo) + 1;
  // With as many paragraphs as before, the old bottom of the touched ones tells whether the
  // paragraphs after them moved.
  const bool aligned = delta == 0 && !full && tops_.size() > end;
  const double bottomBefore = aligned ? tops_[end] : -1;
  for (std::size_t i = firstNo; i < end && b.isValid(); ++i, b = b.next()) layoutBlock(b, i);
  updateTops(firstNo);
  const bool laterMoved = !aligned || tops_[end] != bottomBefore;

  const QSizeF size = documentSize();
  if (size != lastSize_) {
    lastSize_ = size;
    emit documentSizeChanged(size);
  }
  // Only the touched paragraphs need repainting unless later ones moved.
  const double top = tops_[firstNo];
  const double bottom = laterMoved ? 1.0e9 : tops_[end];
  emit update(QRectF(0, top, 1.0e9, bottom - top));
}

QSizeF ParagraphLayout::documentSize() const {
  const double margin = document()->documentMargin();
  double w = width();
  if (w <= 0) {
    for (double x : widths_) w = std::max(w, x);
  }
  const double h = tops_.empty() ? 2 * margin : tops_.back() + margin;
  return {w, h};
}

QRectF ParagraphLayout::frameBoundingRect(QTextFrame*) const {
  return {QPointF(0, 0), documentSize()};
}

QRectF ParagraphLayout::blockBoundingRect(const QTextBlock& block) const {
  const int n = block.blockNumber();
  if (!block.isValid() || n < 0 || std::size_t(n) >= heights_.size()) return {};
  const double w = std::max(width(), widths_[std::size_t(n)]);
  return {0, tops_[std::size_t(n)], w, heights_[std::size_t(n)]};
}

std::size_t ParagraphLayout::blockIndexAt(double y) const {
  if (heights_.empty()) return 0;
  auto it = std::upper_bound(tops_.begin(), tops_.end() - 1, y);
  const std::size_t i = it == tops_.begin() ? 0 : std::size_t(it - tops_.begin()) - 1;
  return std::min(i, heights_.size() - 1);
}

int ParagraphLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
  if (heights_.empty()) return -1;
  const bool exact = accuracy == Qt::ExactHit;
  if (exact && (point.y() < tops_.front() || point.y() >= tops_.back())) return -1;
  const std::size_t index = blockIndexAt(point.y());
  const QTextBlock block = document()->findBlockByNumber(int(index));
  const QTextLayout* layout = block.layout();
  if (!block.isValid() || layout == nullptr || layout->lineCount() == 0)
    return exact ? -1 : block.position();
  const double y = point.y() - tops_[index];
  QTextLine line = layout->lineAt(0);
  for (int i = 0; i < layout->lineCount(); ++i) {
    const QTextLine l = layout->lineAt(i);
    line = l;
    if (y < l.y() + l.height()) break;
  }
  if (exact) {
    const double start = line.cursorToX(line.textStart());
    const double stop = line.cursorToX(line.textStart() + line.textLength());
    if (point.x() < std::min(start, stop) || point.x() > std::max(start, stop)) return -1;
    if (y < line.y() || y >= line.y() + line.height()) return -1;
  }
  return block.position() + line.xToCursor(point.x());
}

void ParagraphLayout::draw(QPainter* painter, const PaintContext& context) {
  if (heights_.empty()) return;
  const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, 1.0e9, 1.0e9);
  painter->save();
  painter->setPen(context.palette.color(QPalette::Text));
  QTextBlock block = document()->findBlockByNumber(int(blockIndexAt(clip.top())));
  for (; block.isValid(); block = block.next()) {
    const std::size_t i = std::size_t(block.blockNumber());
    if (i >= heights_.size() || tops_[i] > clip.bottom()) break;
    QTextLayout* layout = block.layout();
    const int start = block.position();
    const int length = block.length();
    QList<QTextLayout::FormatRange> selections;
    for (const Selection& s : context.selections) {
      const int from = std::max(s.cursor.selectionStart() - start, 0);
      const int to = std::min(s.cursor.selectionEnd() - start, length);
      if (to <= from && !(s.format.boolProperty(QTextFormat::FullWidthSelection) &&
                          s.cursor.position() >= start && s.cursor.position() < start + length)) {
        continue;
      }
      QTextLayout::FormatRange r;
      r.start = from;
      r.length = to - from;
      r.format = s.format;
      selections.append(r);
    }
    const QPointF origin(0, tops_[i]);
    layout->draw(painter, origin, selections, clip);
    const int caret = context.cursorPosition;
    if (caret >= start && caret < start + length) {
      const int width = property("cursorWidth").isValid() ? property("cursorWidth").toInt() : 1;
      layout->drawCursor(painter, origin, caret - start, width);
    }
  }
  painter->restore();
}

}  // namespace richedit
