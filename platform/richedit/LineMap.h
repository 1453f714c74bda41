#pragma once
// The control's display lines: every paragraph contributes the lines it is laid out in at the
// current width. Keeps the line count of each paragraph and the number of the first line of
// each, refreshed lazily: after an edit only the paragraphs it touched are measured again.

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

  void invalidateAll() { allDirty_ = true; }
  void contentsChanged(int pos, int removed, int added);

  int lineCount();
  int lineFromPosition(int pos);    // pos is clamped into the document
  bool line(int index, Line& out);  // false when the line does not exist

 private:
  void refresh();
  void remeasureAll();
  int linesOf(const QTextBlock& block) const;
  int blockOfLine(int line) const;

  QTextDocument& doc_;
  std::vector<int> lines_;      // display lines per paragraph
  std::vector<int> firstLine_;  // first display line per paragraph; one extra entry: the total
  bool allDirty_ = true;
  int dirtyFrom_ = -1;  // paragraph numbers to measure again, or -1
  int dirtyTo_ = -1;
  double width_ = -2;
};

}  // namespace richedit
