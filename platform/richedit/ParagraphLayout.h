#pragma once
// Lays the document out paragraph by paragraph, keeping each paragraph's height and the top
// of each. An edit lays out only the paragraphs it touched and moves the tops after them, so
// typing stays quick in long entries (Qt's own layout walks every later paragraph on each
// change). Positions inside a paragraph's QTextLayout are relative to the paragraph's top.

#include <QAbstractTextDocumentLayout>
#include <vector>

namespace richedit {

class ParagraphLayout : public QAbstractTextDocumentLayout {
 public:
  explicit ParagraphLayout(QTextDocument* doc);

  void draw(QPainter* painter, const PaintContext& context) override;
  int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override;
  QRectF frameBoundingRect(QTextFrame* frame) const override;
  QRectF blockBoundingRect(const QTextBlock& block) const override;

 protected:
  void documentChanged(int from, int charsRemoved, int charsAdded) override;

 private:
  void layoutBlock(const QTextBlock& block, std::size_t index);
  void updateTops(std::size_t from);
  std::size_t blockIndexAt(double y) const;
  double width() const;

  std::vector<double> heights_;
  std::vector<double> widths_;  // natural width, for unwrapped text
  std::vector<double> tops_;    // one more than there are paragraphs: the last is the bottom
  QSizeF lastSize_;
};

}  // namespace richedit
