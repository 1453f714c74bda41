#pragma once
// Lays a table row's paragraph out as a grid (see TableFormat.h): each cell's text wraps inside
// its cell's width, the lines of all cells belong to the paragraph's one QTextLayout (so the
// caret, selections and positions work as in any paragraph), the row is as tall as its
// tallest cell, and the borders the row was given are drawn around its cells. Coordinates are
// the paragraph's: x as the document lays out, y from the paragraph's top.

#include <QColor>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QTextBlock>
#include <vector>

class QPainter;
class QTextLayout;
class QTextOption;
class QPointF;

namespace richedit {

class TableRowLayout {
 public:
  // margin: the document's margin; width: the page's width, 0 when the text is not wrapped.
  TableRowLayout(const QTextBlock& block, double margin, double width);

  // Lays out the paragraph's lines; answers the row's height and the width it reaches.
  QSizeF layOut(QTextLayout& layout, QTextOption option) const;

  // The position in the paragraph at a point, or -1 when an exact hit finds no text there.
  int hitTest(const QTextLayout& layout, const QPointF& point, bool exact) const;

  void drawBorders(QPainter* painter, const QPointF& origin, double height,
                   const QColor& color) const;

  // Draws the caret when it stands where the layout has no line to show it: in an empty last
  // cell. Answers false when the layout draws it.
  bool drawCaret(QPainter* painter, const QTextLayout& layout, const QPointF& origin, int position,
                 int width) const;

 private:
  struct Cell {
    double left = 0, right = 0;  // the cell's edges
    int from = 0;                // its text: [from, to) in the paragraph
    int to = 0;
    bool separated = false;  // a TAB at `to` ends it
  };
  double textLeft(const Cell& cell) const { return cell.left + padding_; }
  double textWidth(const Cell& cell) const;
  int cellAt(double x) const;

  QTextBlock block_;
  QString text_;
  std::vector<Cell> cells_;
  int caretCell_ = -1;  // the empty last cell that the caret at the text's end stands in
  QList<int> borders_;
  double padding_ = 0;
  double borderWidth_ = 1;
};

}  // namespace richedit
