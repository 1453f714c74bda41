#pragma once
// Lays the document out paragraph by paragraph, keeping each paragraph's height and the top
// of each. Layout is lazy: a paragraph is laid out when it is shown, hit, or asked for through
// blockBoundingRect (which is how Qt's cursor and our line queries ask); until then it stands
// in with a height estimated from its length, and idle time lays out the rest in small steps.
// So a long entry opens without laying out every paragraph first, and a small edit lays out
// only the paragraphs it touched (Qt's own layout walks every later paragraph on each change).
// Positions inside a paragraph's QTextLayout are relative to the paragraph's top.

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <functional>
#include <vector>

class QTextBlockFormat;
class QTextLine;

namespace richedit {

// How far a line moves the next one down under the paragraph's line spacing.
double lineAdvance(const QTextLine& line, const QTextBlockFormat& format);

class ParagraphLayout : public QAbstractTextDocumentLayout {
 public:
  explicit ParagraphLayout(QTextDocument* doc);

  void draw(QPainter* painter, const PaintContext& context) override;
  int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
  int pageCount() const override { return 1; }
  QSizeF documentSize() const override;
  QRectF frameBoundingRect(QTextFrame* frame) const override;
  // Lays the paragraph out first when it has not been.
  QRectF blockBoundingRect(const QTextBlock& block) const override;

  // Called after paragraphs were laid out outside an edit (on demand or in idle time), when
  // estimated heights gave way to true ones; a view keeps what it shows in place.
  void setOnLaterLayout(std::function<void()> handler) { onLaterLayout_ = std::move(handler); }

  // How many paragraphs still stand in with an estimated height.
  std::size_t paragraphsNotLaidOut() const { return pending_; }

  // Tells whether a view shows the document. A document that nobody sees (a converter's) lays
  // out a long paragraph only when its lines are asked for, not for its rectangle.
  void setIsShown(std::function<bool()> isShown) { isShown_ = std::move(isShown); }

  // While held (the control's redraw is off), edits and rectangle queries keep estimated
  // heights: a run of many edits (Replace All) lays out each paragraph once, when it is next
  // shown, not after every edit. Line queries still get true lines.
  void holdLayout(bool held) { held_ = held; }

  // Gives the paragraph its lines, whoever lays the document out.
  static void ensureLines(const QTextDocument& doc, const QTextBlock& block);

 protected:
  void documentChanged(int from, int charsRemoved, int charsAdded) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  // The queries above are const for Qt, but lay out on demand: the state below is a cache of
  // the document's layout, filled as it is needed.
  enum class Repaint { No, Yes };
  void layoutBlock(const QTextBlock& block, std::size_t index) const;
  void laidOutAs(std::size_t index, double height, double width) const;
  void estimateBlock(const QTextBlock& block, std::size_t index) const;
  void ensureLaidOut(const QTextBlock& block) const;
  void setHeight(std::size_t index, double height) const;  // keeps total_ and the tops
  void refreshTops(std::size_t upTo) const;                // makes tops_[0..upTo] right
  void laidOutOnDemand(Repaint repaint) const;
  void announceChanges();
  void layoutInIdleTime();
  std::size_t blockIndexAt(double y) const;
  double width() const;

  mutable std::vector<double> heights_;
  mutable std::vector<double> widths_;  // natural width, for unwrapped text
  mutable std::vector<double> tops_;   // one more than there are paragraphs: the last is the bottom
  mutable std::vector<char> laidOut_;  // 0 while a paragraph's height is an estimate
  mutable std::size_t pending_ = 0;    // paragraphs with an estimated height
  mutable std::size_t topsValid_ = 0;  // tops_[0..topsValid_] are right, later ones stale
  mutable double total_ = 0;           // the sum of heights_, kept as they change
  mutable bool announcePending_ = false;
  mutable bool repaintPending_ = false;
  bool held_ = false;
  double lineHeight_ = 16;  // the default font's, for estimates
  double charWidth_ = 7;
  std::size_t idleFrom_ = 0;  // where idle layout looks for the next estimated paragraph
  QBasicTimer idle_;
  QSizeF lastSize_;
  std::function<void()> onLaterLayout_;
  std::function<bool()> isShown_;
};

}  // namespace richedit
