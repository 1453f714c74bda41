#pragma once
// The bullet or number a numbered paragraph shows in the hanging space before its first
// line. The label is drawn, never stored as text, and drawn by the paragraph layout on screen
// and on paper alike.

#include <QColor>
#include <QPointF>

class QPainter;
class QTextBlock;

namespace richedit {

// The number of a numbered paragraph: its place in the run of paragraphs numbered alike.
int paragraphNumber(const QTextBlock& block);

// Follows the numbering down a run of consecutive paragraphs, so that drawing a page of them
// need not count back from each one.
class NumberingCounter {
 public:
  int numberOf(const QTextBlock& block);  // 0 for a paragraph without numbering

 private:
  int previousBlock_ = -2;
  int previousKind_ = 0;
  int number_ = 0;
};

// Draws the label of `block` whose top-left corner lies at `origin`; `width` is the width the
// paragraph is laid out in. textColor is used when the first character has no colour.
void drawParagraphLabel(QPainter* painter, const QTextBlock& block, int number,
                        const QPointF& origin, double width, const QColor& textColor);

}  // namespace richedit
