#include "platform/richedit/TableRowLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit {

namespace {
// Space between a cell's top and bottom edges and its text, besides the paragraph's own.
constexpr double kVerticalPadding = 2.0;
// A row that names no padding keeps its text this far from the cell's edges.
constexpr int kDefaultPaddingTwips = 60;
}  // namespace

TableRowLayout::TableRowLayout(const QTextBlock& block, double margin, double width)
    : block_(block), text_(block.text()) {
  const QTextBlockFormat bf = block.blockFormat();
  const int count = fmt::cellCountOf(bf, text_);
  const int left = bf.intProperty(fmt::BlockStartIndent) + bf.intProperty(fmt::BlockOffset);
  QList<int> edges = fmt::cellEdgesOf(bf).mid(0, count);
  std::vector<double> rights;
  double first = 0;
  if (edges.isEmpty()) {
    // A row without a grid shares the page's width equally among its cells.
    const double page = width > 2 * margin ? width - 2 * margin
                                           : count * fmt::twipsToPixels(fmt::kDefaultCellWidth);
    first = margin;
    for (int i = 1; i <= count; ++i) rights.push_back(margin + page * i / count);
  } else {
    edges = fmt::sanitizedCellEdges(edges, left);
    // A row that starts left of the margin (as word processors place it, so that the first
    // cell's text lines up with the margin) is moved in far enough to be seen whole.
    const double shift = std::max(0.0, -fmt::twipsToPixels(left));
    first = margin + shift + fmt::twipsToPixels(left);
    for (int edge : edges) rights.push_back(margin + shift + fmt::twipsToPixels(edge));
    // A row wider than the page is narrowed to fit it, its cells keeping their proportions,
    // so that no cell's text lies out of sight.
    const double page = width - 2 * margin;
    const double used = rights.back() - margin;
    if (page > 0 && used > page) {
      const double scale = page / used;
      first = margin + (first - margin) * scale;
      for (double& right : rights) right = margin + (right - margin) * scale;
    }
  }
  const std::vector<int> starts = fmt::cellStartsOf(text_, count);
  for (int i = 0; i < count; ++i) {
    Cell cell;
    cell.left = i == 0 ? first : rights[std::size_t(i - 1)];
    cell.right = rights[std::size_t(i)];
    const bool hasText = std::size_t(i) < starts.size();
    cell.from = hasText ? starts[std::size_t(i)] : int(text_.size());
    cell.separated = std::size_t(i) + 1 < starts.size();
    cell.to = cell.separated ? starts[std::size_t(i) + 1] - 1 : int(text_.size());
    cells_.push_back(cell);
  }
  // The text ends with a separator: its last cell is empty and has no line of its own.
  if (starts.size() > 1 && starts.back() == text_.size()) caretCell_ = int(starts.size()) - 1;

  borders_ = bf.property(fmt::BlockCellBorders).value<QList<int>>();
  borderWidth_ = std::max(1.0, fmt::twipsToPixels(bf.intProperty(fmt::BlockCellBorderWidth)));
  padding_ = fmt::twipsToPixels(bf.hasProperty(fmt::BlockCellPadding)
                                    ? std::max(0, bf.intProperty(fmt::BlockCellPadding))
                                    : kDefaultPaddingTwips);
}

double TableRowLayout::textWidth(const Cell& cell) const {
  return std::max(1.0, cell.right - cell.left - 2 * padding_);
}

int TableRowLayout::cellAt(double x) const {
  for (std::size_t i = 0; i < cells_.size(); ++i)
    if (x < cells_[i].right) return int(i);
  return int(cells_.size()) - 1;
}

// Each cell's lines are cut where its separator ends it; the separator goes with the cell's
// last line, so that the position after it is the next cell's first. The layout is left to
// right and left aligned: a cell's alignment is applied by moving its lines, because the
// separator at a line's end would count in Qt's own.
QSizeF TableRowLayout::layOut(QTextLayout& layout, QTextOption option) const {
  const QTextBlockFormat bf = block_.blockFormat();
  const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
  option.setAlignment(Qt::AlignLeft);
  option.setTextDirection(Qt::LeftToRight);
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  QList<QTextOption::Tab> stops;  // a separator reaches to its cell's edge, no further
  for (const Cell& cell : cells_)
    stops.append({textLeft(cell) + textWidth(cell), QTextOption::LeftTab});
  option.setTabs(stops);
  layout.setTextOption(option);
  layout.setCacheEnabled(true);

  const double top = kVerticalPadding + bf.topMargin();
  double bottom = top;
  double reach = 0;
  layout.beginLayout();
  for (const Cell& cell : cells_) {
    const int limit = cell.separated ? cell.to + 1 : cell.to;
    const double width = textWidth(cell);
    double y = top;
    QTextLine previous;
    for (int pos = cell.from; pos < limit;) {
      QTextLine line = layout.createLine();
      if (!line.isValid()) break;
      line.setLeadingIncluded(true);
      line.setPosition(QPointF(textLeft(cell), y));
      line.setLineWidth(width);
      if (line.textStart() + line.textLength() > limit)
        line.setNumColumns(limit - line.textStart(), width);
      pos = line.textStart() + line.textLength();
      if (previous.isValid() && cell.separated && line.textStart() == cell.to) {
        // Only the separator was left over: it ends the line before rather than add one.
        line.setPosition(QPointF(previous.x() + previous.naturalTextWidth(), previous.y()));
        continue;
      }
      const double used = cell.separated && pos == limit ? line.cursorToX(cell.to) - line.x()
                                                         : line.naturalTextWidth();
      double shift = 0;
      if (align & Qt::AlignHCenter) shift = (width - used) / 2;
      if (align & Qt::AlignRight) shift = width - used;
      if (shift > 0) line.setPosition(QPointF(line.x() + shift, y));
      y += lineAdvance(line, bf);
      reach = std::max(reach, line.x() + used);
      previous = line;
    }
    bottom = std::max(bottom, y);
  }
  if (layout.lineCount() == 0) {  // an empty row still has a line for the caret
    QTextLine line = layout.createLine();
    if (line.isValid() && !cells_.empty()) {
      line.setLeadingIncluded(true);
      line.setPosition(QPointF(textLeft(cells_.front()), top));
      line.setLineWidth(textWidth(cells_.front()));
      bottom = std::max(bottom, top + lineAdvance(line, bf));
    }
  }
  layout.endLayout();
  if (bottom == top) bottom += QFontMetricsF(block_.charFormat().font()).height();
  const double right = cells_.empty() ? reach : std::max(reach, cells_.back().right);
  return {right, bottom + kVerticalPadding + bf.bottomMargin()};
}

int TableRowLayout::hitTest(const QTextLayout& layout, const QPointF& point, bool exact) const {
  if (cells_.empty()) return exact ? -1 : 0;
  const Cell& cell = cells_[std::size_t(cellAt(point.x()))];
  const int limit = cell.separated ? cell.to + 1 : std::max(cell.to, cell.from + 1);
  QTextLine hit;
  for (int i = 0; i < layout.lineCount(); ++i) {
    const QTextLine line = layout.lineAt(i);
    if (line.textStart() < cell.from || line.textStart() >= limit) continue;
    hit = line;
    if (point.y() < line.y() + line.height()) break;
  }
  if (!hit.isValid()) return exact ? -1 : cell.from;  // an empty cell without a line
  if (exact) {
    const double start = hit.cursorToX(hit.textStart());
    const double stop = hit.cursorToX(std::min(hit.textStart() + hit.textLength(), cell.to));
    if (point.x() < start || point.x() > stop) return -1;
    if (point.y() < hit.y() || point.y() >= hit.y() + hit.height()) return -1;
  }
  const int pos = hit.xToCursor(point.x());
  // Past a cell's text is still the cell: the caret stops before its separator.
  return std::clamp(pos, cell.from, cell.to);
}

void TableRowLayout::drawBorders(QPainter* painter, const QPointF& origin, double height,
                                 const QColor& color) const {
  if (borders_.isEmpty()) return;
  painter->save();
  QPen pen(color, borderWidth_);
  pen.setCapStyle(Qt::SquareCap);
  painter->setPen(pen);
  const double top = origin.y() + borderWidth_ / 2;
  const double bottom = origin.y() + height - borderWidth_ / 2;
  for (std::size_t i = 0; i < cells_.size() && i < std::size_t(borders_.size()); ++i) {
    const int sides = borders_[qsizetype(i)];
    const double left = origin.x() + cells_[i].left + borderWidth_ / 2;
    const double right = origin.x() + cells_[i].right - borderWidth_ / 2;
    if (sides & fmt::CellBorderTop) painter->drawLine(QPointF(left, top), QPointF(right, top));
    if (sides & fmt::CellBorderBottom)
      painter->drawLine(QPointF(left, bottom), QPointF(right, bottom));
    if (sides & fmt::CellBorderLeft) painter->drawLine(QPointF(left, top), QPointF(left, bottom));
    if (sides & fmt::CellBorderRight)
      painter->drawLine(QPointF(right, top), QPointF(right, bottom));
  }
  painter->restore();
}

bool TableRowLayout::drawCaret(QPainter* painter, const QTextLayout& layout, const QPointF& origin,
                               int position, int width) const {
  if (caretCell_ < 0 || position != text_.size()) return false;
  const Cell& cell = cells_[std::size_t(caretCell_)];
  const double top = layout.lineCount() > 0 ? layout.lineAt(0).y() : kVerticalPadding;
  const double height = QFontMetricsF(block_.charFormat().font()).height();
  painter->fillRect(QRectF(origin.x() + textLeft(cell), origin.y() + top, width, height),
                    painter->pen().color());
  return true;
}

}  // namespace richedit
