#pragma once
// A table row as the reader meets it: the row's definition (\trowd, its \cellx right edges, the
// borders named before each, the row's left edge and padding), and how far the reading of the
// row's cells has come. The parser puts the cells' text into the row's paragraph; this class
// says what grid that paragraph gets (see TableFormat.h).

#include <QList>
#include <QTextBlockFormat>

#include "platform/richedit/rtf/RtfControlWords.h"

namespace richedit::rtf {

class RtfTableRow {
 public:
  // One word of the definition (isRowDefinitionWord); flags come with parameter 0.
  void define(Word id, int parameter);

  int definedCells() const { return int(edges_.size()); }

  // Makes `format` (the format of the row's last paragraph) the format of a row of `cells`
  // cells: the defined ones, and cells of a default width where the text has more.
  void applyTo(QTextBlockFormat& format, int cells) const;

  // The cells of the row being read: \cell words seen, and TABs put between them.
  int cellsRead = 0;
  int separators = 0;
  void startContents() { cellsRead = separators = 0; }

 private:
  enum class Target { None, Cell, Row };
  void startDefinition();
  void borderOn(Target target, int side);
  int cellBordersWithRow(int cell, int cells) const;

  QList<int> edges_;    // right edges in twips, as read (at most 32)
  QList<int> borders_;  // CellBorder sides of each defined cell
  int left_ = 0;
  int padding_ = -1;  // none given
  enum class PaddingFrom { None, Row, Cell, Gap } paddingFrom_ = PaddingFrom::None;
  int width_ = 0;         // the widest border pen named, in twips
  int pendingSides_ = 0;  // sides named for the cell whose \cellx is still to come
  int rowSides_ = 0;      // \trbrdr sides, CellBorder bits plus the inside ones below
  Target target_ = Target::None;
  int targetSide_ = 0;
};

}  // namespace richedit::rtf
