#pragma once
// The table row a paragraph holds, as the writer puts it out: \trowd with the row's left edge
// and padding, each cell's borders and \cellx right edge, so that word processors open a table.

#include <QList>
#include <QStringView>
#include <QTextBlockFormat>
#include <vector>

#include "platform/richedit/rtf/RtfOutput.h"

namespace richedit::rtf {

struct RowDefinition {
  QList<int> edges;    // one per cell, ascending
  QList<int> borders;  // CellBorder sides, one per cell
  int left = 0;
  int padding = -1;  // none given
  int borderWidth = 0;
  bool operator==(const RowDefinition&) const = default;
};

// The grid of a row paragraph with this text; a row without one gets cells of a default width.
RowDefinition rowDefinitionOf(const QTextBlockFormat& format, QStringView text);

void writeRowDefinition(RtfOutput& out, const RowDefinition& row);

// Positions in a row's text of the TABs that separate its cells, ascending.
std::vector<int> cellSeparatorsOf(QStringView text, int cells);

}  // namespace richedit::rtf
