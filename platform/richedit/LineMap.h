#pragma once
// The control's display lines: every paragraph contributes the lines it is laid out in at the
// current width. Keeps the line count of each paragraph and the number of the first line of
// each, filled lazily: a query measures only the paragraphs up to the one it asks about (a
// paragraph not yet laid out is laid out then), and an edit forgets only the paragraphs it
// touched, so a long entry need not be laid out whole to answer about its first lines.

#include <cstddef>
#include <vector>

class QTextDocument;
class QTextBlock;

namespace richedit {

class LineMap {
 public:
  struct Line {
    int start = 0;   // first position of the line
    int length = 0;  // characters on the line, without a paragraph break
    bool endsParagraph = false;
  };

  explicit LineMap(QTextDocument& doc) : doc_(doc) {}

  void invalidateAll();
  void contentsChanged(int pos, int removed, int added);

  int lineCount();
  int lineFromPosition(int pos);    // pos is clamped into the document
  bool line(int index, Line& out);  // false when the line does not exist

 private:
  void checkWidth();
  // Measures paragraphs until firstLine_ is right up to paragraph `block` (inclusive).
  void measureThrough(std::size_t block);
  // Measures paragraphs until one holding `line` is known or all are.
  void measureUntilLine(int line);
  int linesOf(const QTextBlock& block) const;

  QTextDocument& doc_;
  std::vector<int> lines_;      // display lines per paragraph; -1 while not measured
  std::vector<int> firstLine_;  // first display line per paragraph; one extra entry: the total
  std::size_t known_ = 0;       // firstLine_[0..known_] are right
  double width_ = -2;
};

}  // namespace richedit
