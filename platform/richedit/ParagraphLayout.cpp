#include "platform/richedit/ParagraphLayout.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>
#include <algorithm>
#include <cmath>
#include <optional>

#include "platform/richedit/ParagraphLabels.h"
#include "platform/richedit/PictureObject.h"
#include "platform/richedit/document/TableFormat.h"
#include "platform/richedit/TableRowLayout.h"

namespace richedit {

namespace {

// The platform's default tab stops lie every half inch (720 twips).
constexpr double kDefaultTabPixels = 48.0;
constexpr double kUnwrappedWidth = 1.0e7;
constexpr std::size_t kParagraphsLaidOutAtOnce = 32;
// Laying out costs with the characters and format runs of a paragraph, not its count: a change
// that brings more characters than this waits until it is shown or asked for, so that loading a
// document (or a converter, which shows nothing) lays out nothing it does not need.
constexpr int kCharactersLaidOutAtOnce = 16384;
constexpr qint64 kIdleSliceMs = 4;

// Qt measures a word that does not fit on a line to its end before it breaks it anywhere, for
// every line it fills; over one word of a million characters that takes minutes. A paragraph
// with a word longer than this is broken anywhere instead, as no line can hold such a word.
constexpr qsizetype kLongestWordBrokenAtBoundaries = 1000;

// Few characters in few format runs: laid out in well under a millisecond.
bool isCheapToLayOut(const QTextBlock& block) {
  constexpr int kRuns = 256;
  if (block.length() > kCharactersLaidOutAtOnce) return false;
  int runs = 0;
  for (auto it = block.begin(); !it.atEnd(); ++it)
    if (++runs > kRuns) return false;
  return true;
}

bool hasOverlongWord(const QString& text) {
  qsizetype run = 0;
  for (const QChar c : text) {
    run = c.isSpace() ? 0 : run + 1;
    if (run > kLongestWordBrokenAtBoundaries) return true;
  }
  return false;
}

}  // namespace

double lineAdvance(const QTextLine& line, const QTextBlockFormat& bf) {
  const double natural = line.height();
  if (!bf.hasProperty(QTextFormat::LineHeight)) return natural;
  const double value = bf.lineHeight();
  switch (bf.lineHeightType()) {
    case QTextBlockFormat::ProportionalHeight:
      return natural * value / 100.0;
    case QTextBlockFormat::FixedHeight:
      return std::max(1.0, value);
    case QTextBlockFormat::MinimumHeight:
      return std::max(natural, value);
    case QTextBlockFormat::LineDistanceHeight:
      return natural + value;
    default:
      return natural;
  }
}

ParagraphLayout::ParagraphLayout(QTextDocument* doc) : QAbstractTextDocumentLayout(doc) {
  registerHandler(QTextFormat::ImageObject, new PictureObject(this));
  // Tells QTextEdit that unwrapped text may be laid out without a page width.
  setProperty("contentHasAlignment", false);
}

double ParagraphLayout::width() const {
  const double w = document()->pageSize().width();
  return w > 0 ? w : 0;
}

void ParagraphLayout::layoutBlock(const QTextBlock& block, std::size_t index) const {
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
  if (!wrap)
    option.setWrapMode(QTextOption::NoWrap);
  else if (hasOverlongWord(block.text()))
    option.setWrapMode(QTextOption::WrapAnywhere);
  if (fmt::isTableRow(bf)) {
    const QSizeF row = TableRowLayout(block, margin, width()).layOut(*layout, option);
    layout->setPosition(QPointF(0, 0));
    laidOutAs(index, row.height(), row.width() + margin);
    return;
  }
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
    y += lineAdvance(line, bf);
    natural = std::max(natural, left + (rtl ? 0 : shift) + line.naturalTextWidth());
    first = false;
  }
  layout->endLayout();
  layout->setPosition(QPointF(0, 0));
  laidOutAs(index, y + bf.bottomMargin(), natural + bf.rightMargin() + margin);
}

void ParagraphLayout::laidOutAs(std::size_t index, double height, double width) const {
  setHeight(index, height);
  widths_[index] = width;
  if (!laidOut_[index]) {
    laidOut_[index] = 1;
    --pending_;
  }
}

// A paragraph not laid out yet takes the room its characters would take in the default font,
// so that the scroll range is near the truth before the layout catches up.
void ParagraphLayout::estimateBlock(const QTextBlock& block, std::size_t index) const {
  QTextLayout* layout = block.layout();
  if (layout->lineCount() > 0) layout->clearLayout();  // lines of an old width or text
  const QTextBlockFormat bf = block.blockFormat();
  const double margin = document()->documentMargin();
  const double chars = std::max(block.length() - 1, 0);
  const double natural = chars * charWidth_;
  const double available = std::max(1.0, width() - 2 * margin - bf.leftMargin() - bf.rightMargin() -
                                             std::max(bf.textIndent(), 0.0));
  const bool wrap =
      width() > 0 && document()->defaultTextOption().wrapMode() != QTextOption::NoWrap;
  const double lines = wrap ? std::max(1.0, std::ceil(natural / available)) : 1.0;
  setHeight(index, bf.topMargin() + lines * lineHeight_ + bf.bottomMargin());
  widths_[index] = margin + bf.leftMargin() + (wrap ? 0 : natural) + bf.rightMargin() + margin;
  if (laidOut_[index]) {
    laidOut_[index] = 0;
    ++pending_;
  }
}

void ParagraphLayout::setHeight(std::size_t index, double height) const {
  if (heights_[index] == height) return;
  total_ += height - heights_[index];
  heights_[index] = height;
  topsValid_ = std::min(topsValid_, index);
}

void ParagraphLayout::ensureLaidOut(const QTextBlock& block) const {
  const int n = block.blockNumber();
  if (n < 0 || std::size_t(n) >= laidOut_.size() || laidOut_[std::size_t(n)]) return;
  layoutBlock(block, std::size_t(n));
  laidOutOnDemand(Repaint::Yes);
}

void ParagraphLayout::ensureLines(const QTextDocument& doc, const QTextBlock& block) {
  if (const auto* layout = dynamic_cast<const ParagraphLayout*>(doc.documentLayout()))
    layout->ensureLaidOut(block);
  else
    doc.documentLayout()->blockBoundingRect(block);
}

void ParagraphLayout::refreshTops(std::size_t upTo) const {
  upTo = std::min(upTo, heights_.size());
  for (std::size_t i = topsValid_; i < upTo; ++i) tops_[i + 1] = tops_[i] + heights_[i];
  topsValid_ = std::max(topsValid_, upTo);
  // At the bottom the running total is exact again, free of rounding left by many edits.
  if (!tops_.empty() && topsValid_ == heights_.size()) total_ = tops_.back() - tops_.front();
}

// Heights changed outside an edit: the size and what follows the changed paragraphs are told
// once the current query or paint is over, so that no view hears of it in the middle of one.
void ParagraphLayout::laidOutOnDemand(Repaint repaint) const {
  if (repaint == Repaint::Yes) repaintPending_ = true;
  if (announcePending_) return;
  announcePending_ = true;
  auto* self = const_cast<ParagraphLayout*>(this);
  QMetaObject::invokeMethod(
      self, [self] { self->announceChanges(); }, Qt::QueuedConnection);
}

void ParagraphLayout::announceChanges() {
  announcePending_ = false;
  const QSizeF size = documentSize();
  if (size != lastSize_) {
    lastSize_ = size;
    emit documentSizeChanged(size);
  }
  if (onLaterLayout_) onLaterLayout_();
  if (repaintPending_) {
    repaintPending_ = false;
    emit update(QRectF(0, 0, 1.0e9, 1.0e9));
  }
}

void ParagraphLayout::timerEvent(QTimerEvent* event) {
  if (event->timerId() != idle_.timerId()) return QAbstractTextDocumentLayout::timerEvent(event);
  layoutInIdleTime();
}

// Lays out estimated paragraphs for a few milliseconds at a time, from the top, until every
// paragraph has its true height.
void ParagraphLayout::layoutInIdleTime() {
  if (held_) return;
  if (pending_ == 0) {
    idle_.stop();
    return;
  }
  QElapsedTimer clock;
  clock.start();
  QTextDocument* doc = document();
  if (idleFrom_ >= laidOut_.size()) idleFrom_ = 0;
  while (idleFrom_ < laidOut_.size() && laidOut_[idleFrom_]) ++idleFrom_;
  if (idleFrom_ >= laidOut_.size()) {
    // Nothing left after where the last slice stopped: count again rather than spin.
    pending_ = std::size_t(std::count(laidOut_.begin(), laidOut_.end(), char(0)));
    idleFrom_ = 0;
    if (pending_ == 0) idle_.stop();
    return;
  }
  std::size_t firstChanged = idleFrom_;
  QTextBlock b = doc->findBlockByNumber(int(idleFrom_));
  for (; b.isValid() && idleFrom_ < laidOut_.size() && pending_ > 0; b = b.next(), ++idleFrom_) {
    if (!laidOut_[idleFrom_]) layoutBlock(b, idleFrom_);
    if (clock.elapsed() >= kIdleSliceMs) break;
  }
  if (pending_ == 0) idle_.stop();
  const QSizeF size = documentSize();
  if (size != lastSize_) {
    lastSize_ = size;
    emit documentSizeChanged(size);
  }
  if (onLaterLayout_) onLaterLayout_();
  refreshTops(firstChanged);
  emit update(QRectF(0, tops_[std::min(firstChanged, tops_.size() - 1)], 1.0e9, 1.0e9));
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
  const QFontMetricsF metrics(doc->defaultFont());
  lineHeight_ = metrics.lineSpacing();
  charWidth_ = metrics.averageCharWidth();

  // The paragraphs [firstNo, lastNo] replace as many before the change, less the difference.
  const long delta = long(count) - long(heights_.size());
  if (delta > 0) {
    heights_.insert(heights_.begin() + long(firstNo), std::size_t(delta), 0.0);
    widths_.insert(widths_.begin() + long(firstNo), std::size_t(delta), 0.0);
    laidOut_.insert(laidOut_.begin() + long(firstNo), std::size_t(delta), char(1));
  } else if (delta < 0) {
    const std::size_t n = std::min<std::size_t>(std::size_t(-delta), heights_.size() - firstNo);
    const auto gone = laidOut_.begin() + long(firstNo);
    pending_ -= std::size_t(std::count(gone, gone + long(n), char(0)));
    for (std::size_t i = firstNo; i < firstNo + n; ++i) total_ -= heights_[i];
    heights_.erase(heights_.begin() + long(firstNo), heights_.begin() + long(firstNo + n));
    widths_.erase(widths_.begin() + long(firstNo), widths_.begin() + long(firstNo + n));
    laidOut_.erase(gone, gone + long(n));
  }
  QTextBlock b = first;
  bool full = false;
  if (heights_.size() != count) {
    // Should not happen; lay everything out again rather than show a wrong layout.
    heights_.assign(count, 0.0);
    widths_.assign(count, 0.0);
    laidOut_.assign(count, char(1));
    pending_ = 0;
    total_ = 0;
    b = doc->firstBlock();
    firstNo = 0;
    full = true;
  }
  tops_.resize(count + 1);
  if (tops_[0] != doc->documentMargin()) topsValid_ = 0;
  tops_[0] = doc->documentMargin();
  // Paragraphs came or went: every later top moves. Otherwise the tops past the changed
  // paragraphs stay right unless their heights add up differently, so that a run of small
  // edits (Replace All) does not add up every later paragraph's top again after each one.
  const std::size_t validBefore = delta == 0 ? topsValid_ : std::min(topsValid_, firstNo);
  topsValid_ = std::min(topsValid_, firstNo);
  const std::size_t end = full ? count : std::max(lastNo, firstNo) + 1;
  // A few cheap paragraphs (typing, a short paste) are laid out at once; more, or a paragraph
  // of many format runs (each may need its own font resolved), wait until needed.
  bool now =
      !held_ && end - firstNo <= kParagraphsLaidOutAtOnce && charsAdded <= kCharactersLaidOutAtOnce;
  for (QTextBlock c = first; now && c.isValid() && std::size_t(c.blockNumber()) < end; c = c.next())
    now = isCheapToLayOut(c);
  double before = 0;
  for (std::size_t i = firstNo; i < end; ++i) before += heights_[i];
  for (std::size_t i = firstNo; i < end && b.isValid(); ++i, b = b.next()) {
    if (now) {
      layoutBlock(b, i);
    } else {
      estimateBlock(b, i);
    }
  }
  double after = 0;
  for (std::size_t i = firstNo; i < end; ++i) after += heights_[i];
  const bool laterMoved = delta != 0 || full || after != before;
  if (!laterMoved && validBefore > end) {
    refreshTops(end);
    topsValid_ = validBefore;
  }
  if (pending_ > 0) {
    idleFrom_ = std::min(idleFrom_, firstNo);
    if (!idle_.isActive()) idle_.start(0, this);
  }

  const QSizeF size = documentSize();
  if (size != lastSize_) {
    lastSize_ = size;
    emit documentSizeChanged(size);
  }
  // Only the touched paragraphs need repainting unless later ones moved.
  refreshTops(end);
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
  const double h = tops_.empty() ? 2 * margin : tops_.front() + total_ + margin;
  return {w, h};
}

QRectF ParagraphLayout::frameBoundingRect(QTextFrame*) const {
  return {QPointF(0, 0), documentSize()};
}

QRectF ParagraphLayout::blockBoundingRect(const QTextBlock& block) const {
  const int n = block.blockNumber();
  if (!block.isValid() || n < 0 || std::size_t(n) >= heights_.size()) return {};
  // Unseen, a long paragraph keeps its estimate: Qt asks for the caret's rectangle after every
  // load, and a paragraph of many thousand runs or fonts takes long to lay out.
  const bool shown = !isShown_ || isShown_();
  if (!held_ && (shown || isCheapToLayOut(block))) ensureLaidOut(block);
  refreshTops(std::size_t(n));
  const double w = std::max(width(), widths_[std::size_t(n)]);
  return {0, tops_[std::size_t(n)], w, heights_[std::size_t(n)]};
}

std::size_t ParagraphLayout::blockIndexAt(double y) const {
  if (heights_.empty()) return 0;
  // The tops are made right only as far down as y: a hit near the top after an edit further
  // up does not add up the tops of the whole document again.
  while (topsValid_ < heights_.size() && tops_[topsValid_] <= y) {
    tops_[topsValid_ + 1] = tops_[topsValid_] + heights_[topsValid_];
    ++topsValid_;
  }
  refreshTops(topsValid_);  // at the bottom, makes the running total exact
  auto it = std::upper_bound(tops_.begin(), tops_.begin() + long(topsValid_) + 1, y);
  const std::size_t i = it == tops_.begin() ? 0 : std::size_t(it - tops_.begin()) - 1;
  return std::min(i, heights_.size() - 1);
}

int ParagraphLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const {
  if (heights_.empty()) return -1;
  const bool exact = accuracy == Qt::ExactHit;
  const std::size_t index = blockIndexAt(point.y());
  if (exact && (point.y() < tops_.front() || point.y() >= tops_.front() + total_)) return -1;
  const QTextBlock block = document()->findBlockByNumber(int(index));
  if (!held_) ensureLaidOut(block);  // held, a paragraph not laid out answers its start
  const QTextLayout* layout = block.layout();
  if (!block.isValid() || layout == nullptr || layout->lineCount() == 0)
    return exact ? -1 : block.position();
  const double y = point.y() - tops_[index];
  if (fmt::isTableRow(block.blockFormat())) {
    const int at = TableRowLayout(block, document()->documentMargin(), width())
                       .hitTest(*layout, QPointF(point.x(), y), exact);
    return at < 0 ? -1 : block.position() + at;
  }
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
  const QTextBlock firstShown = document()->findBlockByNumber(int(blockIndexAt(clip.top())));
  // What is shown is laid out first, so that it is drawn where it stays.
  bool laidOut = false;
  for (QTextBlock b = firstShown; b.isValid(); b = b.next()) {
    const std::size_t i = std::size_t(b.blockNumber());
    refreshTops(i);
    if (i >= heights_.size() || tops_[i] > clip.bottom()) break;
    if (!laidOut_[i]) {
      layoutBlock(b, i);
      laidOut = true;
    }
  }
  if (laidOut) laidOutOnDemand(Repaint::No);
  painter->save();
  painter->setPen(context.palette.color(QPalette::Text));
  NumberingCounter numbering;
  for (QTextBlock block = firstShown; block.isValid(); block = block.next()) {
    const std::size_t i = std::size_t(block.blockNumber());
    refreshTops(i);
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
    std::optional<TableRowLayout> row;
    if (fmt::isTableRow(block.blockFormat())) {
      row.emplace(block, document()->documentMargin(), width());
      row->drawBorders(painter, origin, heights_[i], context.palette.color(QPalette::Text));
    }
    if (const int number = numbering.numberOf(block)) {
      drawParagraphLabel(painter, block, number, origin, std::max(width(), widths_[i]),
                         context.palette.color(QPalette::Text));
    }
    const int caret = context.cursorPosition;
    if (caret >= start && caret < start + length) {
      const int width = property("cursorWidth").isValid() ? property("cursorWidth").toInt() : 1;
      if (!row || !row->drawCaret(painter, *layout, origin, caret - start, width))
        layout->drawCursor(painter, origin, caret - start, width);
    }
  }
  painter->restore();
}

}  // namespace richedit
