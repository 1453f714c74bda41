#pragma once
// How the control keeps a table, as the platform's rich-edit control (version 3) keeps one: each
// row is one paragraph marked as a table row, its cells separated by TAB characters, so that
// positions, streams and searches see a row as the text of its cells. The row's paragraph format
// (QTextBlockFormat) carries its grid:
//   table row      BlockTableRow (PFE_TABLE)
//   cell edges     BlockTabs: each cell's right edge in twips from the left margin, ascending,
//                  at most 32 (rgxTabs); a row without them shows equal cells across the page
//   row's left     BlockStartIndent: the first cell's left edge in twips (\trleft)
//   borders        BlockCellBorders: per cell, the CellBorder sides drawn; BlockCellBorderWidth
//                  the pen in twips for all of them
//   padding        BlockCellPadding: twips between a cell's edges and its text (\trgaph)
// Only the first (cell count - 1) TABs of a row separate cells; any later ones are text of the
// last cell, so a row never shows more cells than its grid has.

#include <QList>
#include <QString>
#include <QStringView>
#include <QTextBlockFormat>
#include <QTextFormat>
#include <algorithm>
#include <vector>

#include "platform/richedit/document/DocumentFormat.h"

namespace richedit::fmt {

enum TableProperty : int {
  BlockTableRow = QTextFormat::UserProperty + 60,         // bool
  BlockCellBorders = QTextFormat::UserProperty + 61,      // QList<int>, CellBorder bits per cell
  BlockCellBorderWidth = QTextFormat::UserProperty + 62,  // int twips
  BlockCellPadding = QTextFormat::UserProperty + 63,      // int twips
};

enum CellBorder : int {
  CellBorderLeft = 1,
  CellBorderTop = 2,
  CellBorderRight = 4,
  CellBorderBottom = 8,
  CellBorderAll = 15,
};

constexpr int kMaxTableCells = 32;
// Cells are kept within this much of the left margin (22 inches, beyond any page), and at least
// this wide, so that a row from a broken or hostile file still has a grid a person can use.
constexpr int kMaxCellEdge = 31680;
constexpr int kMinCellWidth = 180;
// A cell whose width nobody gave is an inch and a half wide.
constexpr int kDefaultCellWidth = 2160;

inline bool isTableRow(const QTextBlockFormat& f) {
  return f.boolProperty(BlockTableRow);
}

inline QList<int> cellEdgesOf(const QTextBlockFormat& f) {
  return f.property(BlockTabs).value<QList<int>>();
}

// How many cells a row shows: its grid's, or for a row without one as many as its TABs make.
inline int cellCountOf(const QTextBlockFormat& f, QStringView text) {
  const qsizetype edges = std::min<qsizetype>(cellEdgesOf(f).size(), kMaxTableCells);
  if (edges > 0) return int(edges);
  const qsizetype tabs = std::count(text.begin(), text.end(), QChar(u'\t'));
  return int(std::min<qsizetype>(tabs + 1, kMaxTableCells));
}

// Where each cell's text begins in a row's text: the first at 0, each later one just after its
// separating TAB. There are at most `cells` entries; fewer when separators are missing.
inline std::vector<int> cellStartsOf(QStringView text, int cells) {
  std::vector<int> starts{0};
  for (qsizetype i = 0; i < text.size() && int(starts.size()) < cells; ++i) {
    if (text[i] == u'\t') starts.push_back(int(i + 1));
  }
  return starts;
}

// The start of the cell `step` cells away from the one holding position `pos`, or -1 when
// there is no such cell.
inline int neighbourCellStart(QStringView text, int cells, int pos, int step) {
  const std::vector<int> starts = cellStartsOf(text, cells);
  int current = 0;
  while (std::size_t(current) + 1 < starts.size() && starts[std::size_t(current) + 1] <= pos)
    ++current;
  const int target = current + step;
  return target >= 0 && std::size_t(target) < starts.size() ? starts[std::size_t(target)] : -1;
}

inline bool isCellStart(QStringView text, int cells, int pos) {
  const std::vector<int> starts = cellStartsOf(text, cells);
  return std::find(starts.begin(), starts.end(), pos) != starts.end();
}

// Right edges made usable: within the page's reach, ascending, each cell at least the
// narrowest width after the one before it, the first after the row's left edge.
inline QList<int> sanitizedCellEdges(QList<int> edges, int left) {
  int previous = std::clamp(left, -kMaxCellEdge, kMaxCellEdge);
  for (int& edge : edges) {
    edge = std::max(std::clamp(edge, -kMaxCellEdge, kMaxCellEdge), previous + kMinCellWidth);
    previous = edge;
  }
  return edges;
}

}  // namespace richedit::fmt
