#include "platform/richedit/rtf/RtfTableRow.h"

#include <algorithm>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit::rtf {

namespace {
// The row's inside borders, kept beside its outer sides.
constexpr int kInsideH = 16;
constexpr int kInsideV = 32;
constexpr int kMaxBorderWidth = 255;  // twips; the format allows no more than 75
}  // namespace

void RtfTableRow::startDefinition() {
  edges_.clear();
  borders_.clear();
  left_ = 0;
  padding_ = -1;
  paddingFrom_ = PaddingFrom::None;
  width_ = 0;
  pendingSides_ = 0;
  rowSides_ = 0;
  target_ = Target::None;
}

// A border named (\clbrdrt, \trbrdrl...) is drawn unless the words after it say it is none.
void RtfTableRow::borderOn(Target target, int side) {
  target_ = target;
  targetSide_ = side;
  (target == Target::Cell ? pendingSides_ : rowSides_) |= side;
}

void RtfTableRow::define(Word id, int p) {
  switch (id) {
    case Word::TableRowDefaults:
      startDefinition();
      break;
    case Word::RowLeft:
      left_ = std::clamp(p, -fmt::kMaxCellEdge, fmt::kMaxCellEdge);
      break;
    // The space between the cells (\trgaph) decides the padding; without it the first cell's
    // own padding, else the row's.
    case Word::CellGap:
      padding_ = std::clamp(p, 0, fmt::kMaxCellEdge / 4);
      paddingFrom_ = PaddingFrom::Gap;
      break;
    case Word::CellPaddingLeft:
      if (paddingFrom_ == PaddingFrom::Gap || paddingFrom_ == PaddingFrom::Cell) break;
      padding_ = std::clamp(p, 0, fmt::kMaxCellEdge / 4);
      paddingFrom_ = PaddingFrom::Cell;
      break;
    case Word::RowPaddingLeft:
      if (paddingFrom_ != PaddingFrom::None) break;
      padding_ = std::clamp(p, 0, fmt::kMaxCellEdge / 4);
      paddingFrom_ = PaddingFrom::Row;
      break;
    case Word::CellRight:
      if (edges_.size() < fmt::kMaxTableCells) {
        edges_.append(p);
        borders_.append(pendingSides_);
      } else {
        // Cells past the last the grid can hold join it: it reaches as far as they do.
        edges_.back() = std::max(edges_.back(), p);
        borders_.back() |=
            pendingSides_ & (fmt::CellBorderTop | fmt::CellBorderBottom | fmt::CellBorderRight);
      }
      pendingSides_ = 0;
      target_ = Target::None;
      break;
    case Word::CellBorderTop:
      borderOn(Target::Cell, fmt::CellBorderTop);
      break;
    case Word::CellBorderLeft:
      borderOn(Target::Cell, fmt::CellBorderLeft);
      break;
    case Word::CellBorderBottom:
      borderOn(Target::Cell, fmt::CellBorderBottom);
      break;
    case Word::CellBorderRight:
      borderOn(Target::Cell, fmt::CellBorderRight);
      break;
    case Word::RowBorderTop:
      borderOn(Target::Row, fmt::CellBorderTop);
      break;
    case Word::RowBorderLeft:
      borderOn(Target::Row, fmt::CellBorderLeft);
      break;
    case Word::RowBorderBottom:
      borderOn(Target::Row, fmt::CellBorderBottom);
      break;
    case Word::RowBorderRight:
      borderOn(Target::Row, fmt::CellBorderRight);
      break;
    case Word::RowBorderInsideH:
      borderOn(Target::Row, kInsideH);
      break;
    case Word::RowBorderInsideV:
      borderOn(Target::Row, kInsideV);
      break;
    case Word::ParagraphBorder:
      target_ = Target::None;  // the border words that follow are a paragraph's
      break;
    case Word::BorderNone:
      if (target_ == Target::Cell) pendingSides_ &= ~targetSide_;
      if (target_ == Target::Row) rowSides_ &= ~targetSide_;
      break;
    case Word::BorderWidth:
      if (target_ != Target::None) width_ = std::max(width_, std::clamp(p, 0, kMaxBorderWidth));
      break;
    default:
      break;
  }
}

// The row's own borders are drawn as the borders of the cells they run along.
int RtfTableRow::cellBordersWithRow(int cell, int cells) const {
  int sides = cell < borders_.size() ? borders_[cell] : 0;
  const bool first = cell == 0;
  const bool last = cell == cells - 1;
  if (rowSides_ & fmt::CellBorderTop) sides |= fmt::CellBorderTop;
  if (rowSides_ & fmt::CellBorderBottom) sides |= fmt::CellBorderBottom;
  if (rowSides_ & kInsideH) sides |= fmt::CellBorderTop | fmt::CellBorderBottom;
  if (first && (rowSides_ & fmt::CellBorderLeft)) sides |= fmt::CellBorderLeft;
  if (last && (rowSides_ & fmt::CellBorderRight)) sides |= fmt::CellBorderRight;
  if (!first && (rowSides_ & kInsideV)) sides |= fmt::CellBorderLeft;
  if (!last && (rowSides_ & kInsideV)) sides |= fmt::CellBorderRight;
  return sides;
}

void RtfTableRow::applyTo(QTextBlockFormat& format, int cells) const {
  cells = std::clamp(std::max(cells, definedCells()), 1, fmt::kMaxTableCells);
  QList<int> edges = edges_;
  while (edges.size() < cells)
    edges.append((edges.isEmpty() ? left_ : edges.back()) + fmt::kDefaultCellWidth);
  edges = fmt::sanitizedCellEdges(edges, left_);

  QList<int> borders;
  bool anyBorder = false;
  for (int i = 0; i < cells; ++i) {
    borders.append(cellBordersWithRow(i, cells));
    anyBorder = anyBorder || borders.back() != 0;
  }

  format.setProperty(fmt::BlockTableRow, true);
  format.setProperty(fmt::BlockTabs, QVariant::fromValue(edges));
  format.setProperty(fmt::BlockStartIndent, left_);
  format.setProperty(fmt::BlockOffset, 0);
  format.setProperty(fmt::BlockRightIndent, 0);
  format.clearProperty(fmt::BlockNumbering);
  format.clearProperty(fmt::BlockNumberingStart);
  format.clearProperty(fmt::BlockNumberingStyle);
  format.clearProperty(fmt::BlockNumberingTab);
  if (anyBorder) {
    format.setProperty(fmt::BlockCellBorders, QVariant::fromValue(borders));
    format.setProperty(fmt::BlockCellBorderWidth, width_);
  } else {
    format.clearProperty(fmt::BlockCellBorders);
    format.clearProperty(fmt::BlockCellBorderWidth);
  }
  if (padding_ >= 0)
    format.setProperty(fmt::BlockCellPadding, padding_);
  else
    format.clearProperty(fmt::BlockCellPadding);
  fmt::applyParagraphGeometry(format);
}

}  // namespace richedit::rtf
