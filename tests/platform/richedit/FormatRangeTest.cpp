// EM_FORMATRANGE: pages laid out from a position into a rectangle in twips, cut between lines,
// drawn on a device context with the paragraph's bullets and numbers.

#include <QImage>
#include <QPainter>

#include "platform/gdi/DeviceContext.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

class FormatRangeTest : public RichEditTest {
 protected:
  // A white page of 4 x 3 inches at 96 pixels per inch to draw on.
  FormatRangeTest() : page(384, 288, QImage::Format_RGB32) {
    page.fill(Qt::white);
    page.setDotsPerMeterX(3780);
    page.setDotsPerMeterY(3780);
  }

  FORMATRANGE record(LONG from, LONG widthTwips, LONG heightTwips) {
    FORMATRANGE f{};
    f.hdc = f.hdcTarget = &dc;
    f.rc = f.rcPage = {0, 0, widthTwips, heightTwips};
    f.chrg = {from, -1};
    return f;
  }
  LONG format(FORMATRANGE& f, bool draw) {
    QPainter painter(&page);
    dc = {&painter, &page, gdi::MM_TEXT};
    const LONG next = LONG(send(EM_FORMATRANGE, draw ? 1 : 0, &f));
    dc = {};
    return next;
  }
  // Whether anything darker than the page was drawn in a strip of the page.
  bool inked(int left, int right, int top, int bottom) const {
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (qGray(page.pixel(x, y)) < 128) return true;
    return false;
  }

  // The smallest rectangle holding every dark pixel of a strip of the page.
  QRect inkBox(int left, int right, int top, int bottom) const {
    QRect box;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x)
        if (qGray(page.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
  }

  QImage page;
  gdi::DeviceContext dc;
};

TEST_F(FormatRangeTest, AWholeTextOnOnePageAnswersPastItsEnd) {
  setText("a");
  FORMATRANGE f = record(0, 5760, 4320);
  EXPECT_EQ(format(f, true), 2);  // the final paragraph mark is counted
  EXPECT_GT(f.rc.bottom, 0);
  EXPECT_LT(f.rc.bottom, 4320);  // set to the height used
  EXPECT_TRUE(inked(0, 40, 0, 40));
  EXPECT_EQ(send(EM_FORMATRANGE, 0, 0), 0);  // drops the layout

  setText("");
  f = record(0, 5760, 4320);
  EXPECT_EQ(format(f, false), 1);
}

TEST_F(FormatRangeTest, PagesAreCutBetweenLinesAndEveryPageMovesOn) {
  setText("one\rtwo\rthree");
  FORMATRANGE probe = record(0, 5760, 4320);
  format(probe, false);
  const LONG lineTwips = probe.rc.bottom / 3;
  // One and a half lines: the second line goes to the next page whole.
  FORMATRANGE f = record(0, 5760, lineTwips * 3 / 2);
  EXPECT_EQ(format(f, false), 4);
  EXPECT_EQ(f.rc.bottom, lineTwips);
  // A rectangle smaller than a line still takes one line per page.
  LONG next = 0;
  int pages = 0;
  for (; next < 13 && pages < 10; ++pages) {
    f = record(next, 5760, 10);
    next = format(f, true);
  }
  EXPECT_EQ(pages, 3);
  EXPECT_EQ(next, 14);
}

TEST_F(FormatRangeTest, OneUnbreakableWordIsBrokenAcrossLines) {
  setText(std::string(50000, 'w'));
  LONG next = 0;
  int pages = 0;
  while (next < 50000 && pages < 1000) {
    FORMATRANGE f = record(next, 5760, 4320);
    const LONG after = format(f, false);
    ASSERT_GT(after, next);
    next = after;
    ++pages;
  }
  EXPECT_GT(pages, 1);
  EXPECT_EQ(next, 50001);
}

TEST_F(FormatRangeTest, BulletsAreDrawnWithTheParagraph) {
  setText("sit");
  PARAFORMAT2 p{};
  p.cbSize = sizeof p;
  p.dwMask = PFM_NUMBERING | PFM_OFFSET;
  p.wNumbering = 1;  // bullet
  p.dxOffset = 360;
  send(EM_SETPARAFORMAT, 0, &p);
  FORMATRANGE f = record(0, 5760, 4320);
  format(f, true);
  // The bullet stands in the hanging space before the text, which starts at a quarter inch.
  const QRect bullet = inkBox(0, 22, 0, 40);
  EXPECT_FALSE(bullet.isEmpty());
  EXPECT_TRUE(inked(24, 60, 0, 20));
  // On a device of three times the resolution it is three times the size, where it was.
  page = QImage(1152, 864, QImage::Format_RGB32);
  page.fill(Qt::white);
  page.setDotsPerMeterX(3780 * 3);
  page.setDotsPerMeterY(3780 * 3);
  f = record(0, 5760, 4320);
  format(f, true);
  const QRect large = inkBox(0, 66, 0, 120);
  EXPECT_NEAR(large.height(), 3 * bullet.height(), 3);
  EXPECT_NEAR(large.top(), 3 * bullet.top(), 3);
}

TEST_F(FormatRangeTest, ThePageIsDrawnAtItsRectangleOnTheDevice) {
  setText("x");
  FORMATRANGE f = record(0, 2880, 2880);
  f.rc = {1440, 1440, 2880, 2880};  // one inch in from the corner
  format(f, true);
  EXPECT_FALSE(inked(0, 96, 0, 288));
  EXPECT_TRUE(inked(96, 120, 96, 120));
}

}  // namespace
}  // namespace richedit::test
