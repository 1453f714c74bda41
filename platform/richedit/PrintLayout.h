#pragma once
// The document laid out for paper: a copy of the document with its own paragraph layout at
// the page's width, so that printing neither disturbs nor waits for what the screen shows,
// and draws with the same paragraph layout (text, bullets and numbers, pictures). Pages are
// cut between lines, never through one.

#include <memory>

class QPainter;
class QTextDocument;

namespace richedit {

class PrintLayout {
 public:
  // width: the page's width in layout units (pixels at 96 per inch).
  PrintLayout(const QTextDocument& source, double width);
  ~PrintLayout();
  PrintLayout(const PrintLayout&) = delete;
  PrintLayout& operator=(const PrintLayout&) = delete;

  double width() const { return width_; }
  void setWidth(double width);

  struct Page {
    int next = 0;       // the first position that did not fit: past the end when all did
    double height = 0;  // the height used, in layout units
  };
  // Lays out one page from position `from` into `height`; a page that fits not even one line
  // still takes one, so every page moves on. With a painter, draws the page with its top-left
  // corner at the painter's origin, one layout unit to the painter's unit.
  Page page(int from, double height, QPainter* painter);

 private:
  std::unique_ptr<QTextDocument> doc_;
  double width_;
};

}  // namespace richedit
