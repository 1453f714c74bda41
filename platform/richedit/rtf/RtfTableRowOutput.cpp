#include "platform/richedit/rtf/RtfTableRowOutput.h"

#include <algorithm>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit::rtf {

namespace {
// The pen of a border read without a width: a thin line.
constexpr int kDefaultBorderWidth = 10;
constexpr int kMaxBorderWidth = 75;
}  // namespace

RowDefinition rowDefinitionOf(const QTextBlockFormat& format, QStringView text) {
  RowDefinition row;
  const int cells = fmt::cellCountOf(format, text);
  row.left = format.intProperty(fmt::BlockStartIndent) + format.intProperty(fmt::BlockOffset);
  row.edges = fmt::cellEdgesOf(format).mid(0, cells);
  while (row.edges.size() < cells)
    row.edges.append((row.edges.isEmpty() ? row.left : row.edges.back()) + fmt::kDefaultCellWidth);
  row.edges = fmt::sanitizedCellEdges(row.edges, row.left);
  row.borders = format.property(fmt::BlockCellBorders).value<QList<int>>().mid(0, cells);
  while (row.borders.size() < cells) row.borders.append(0);
  if (format.hasProperty(fmt::BlockCellPadding))
    row.padding = std::max(0, format.intProperty(fmt::BlockCellPadding));
  row.borderWidth = std::clamp(format.intProperty(fmt::BlockCellBorderWidth), 0, kMaxBorderWidth);
  return row;
}

void writeRowDefinition(RtfOutput& out, const RowDefinition& row) {
  out.word("trowd");
  if (row.padding >= 0) out.word("trgaph", row.padding);
  out.word("trleft", row.left);
  static constexpr struct {
    int side;
    const char* word;
  } kSides[] = {{fmt::CellBorderTop, "clbrdrt"},
                {fmt::CellBorderLeft, "clbrdrl"},
                {fmt::CellBorderBottom, "clbrdrb"},
                {fmt::CellBorderRight, "clbrdrr"}};
  const int width = row.borderWidth > 0 ? row.borderWidth : kDefaultBorderWidth;
  for (qsizetype i = 0; i < row.edges.size(); ++i) {
    for (const auto& side : kSides) {
      if (!(row.borders[i] & side.side)) continue;
      out.word(side.word);
      out.word("brdrs");
      out.word("brdrw", width);
    }
    out.word("cellx", row.edges[i]);
  }
}

std::vector<int> cellSeparatorsOf(QStringView text, int cells) {
  std::vector<int> separators;
  for (const int start : fmt::cellStartsOf(text, cells))
    if (start > 0) separators.push_back(start - 1);
  return separators;
}

}  // namespace richedit::rtf
