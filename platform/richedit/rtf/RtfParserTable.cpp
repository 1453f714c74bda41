#include "platform/richedit/rtf/RtfParser.h"

#include "platform/richedit/document/TableFormat.h"

// Table rows: a row's cells go into one paragraph, separated by TABs, and the paragraph takes
// the row's grid when the row ends. A paragraph that ends inside a cell becomes a line break in
// the cell, so a cell of several paragraphs keeps them as its lines.

namespace richedit::rtf {

namespace {
constexpr QChar kLineSeparator(0x2028);
}  // namespace

// Paragraphs marked \intbl are cell text; so is what follows a \cell until its row ends, also
// in files that leave \intbl out.
bool RtfParser::inTableRow() const {
  return !stack_.empty() && (stack_.back().para.inTable || row_.cellsRead > 0);
}

void RtfParser::paragraphMark() {
  if (inTableRow())
    paragraphEndsInTable();
  else
    endParagraph();
}

void RtfParser::cellEnds() {
  ++row_.cellsRead;
  ++cellsPending_;
  cellBreakPending_ = false;  // a cell's last paragraph mark ends the cell, not a line
}

void RtfParser::paragraphEndsInTable() {
  if (top().para.inTable) {
    flushPicture();
    cellBreakPending_ = true;
    return;
  }
  // Cells that no \row closed, followed by a paragraph outside the table: the row ends here.
  rowEnds();
}

// Separators wait until the next cell's text comes, so that the row's last \cell adds none;
// a row holds at most 32 cells, and the text of any further ones joins the last.
void RtfParser::insertCellSeparators() {
  if (cellsPending_ == 0 && !cellBreakPending_) return;
  syncFormat();
  QString text;
  for (; cellsPending_ > 0; --cellsPending_) {
    const bool separates = row_.separators < fmt::kMaxTableCells - 1;
    text += separates ? u'\t' : u' ';
    if (separates) ++row_.separators;
  }
  if (cellBreakPending_) text += kLineSeparator;
  cellBreakPending_ = false;
  builder_.appendText(text);
  ++contentSerial_;
}

// The row's paragraph gets one cell for each \cell read (or defined, when fewer were read), so
// that every cell has its separator and a person can reach it.
void RtfParser::rowEnds() {
  flushPicture();
  cellBreakPending_ = false;
  const bool empty = row_.cellsRead == 0 && !paragraphHasContent_;
  if (empty) {
    cellsPending_ = 0;  // \row without cells: there is nothing to show
    row_.startContents();
    return;
  }
  const int cells = std::min(std::max({row_.cellsRead, row_.definedCells(), row_.separators + 1}),
                             fmt::kMaxTableCells);
  cellsPending_ = std::max(0, cells - 1 - row_.separators);
  if (cellsPending_ > 0) insertCellSeparators();
  cellsPending_ = 0;
  QTextBlockFormat format = blockFormat(top().para);
  row_.applyTo(format, cells);
  builder_.endParagraph(format, cachedCharFormat(top().chr));
  paragraphHasContent_ = false;
  ++contentSerial_;
  row_.startContents();
}

}  // namespace richedit::rtf
