// The view's zoom: its messages, the text rewrapped and shown at the zoom, the mouse and the
// keys following it, and the document left as it was.

#include <QAbstractScrollArea>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <utility>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

DWORD CALLBACK_collect(DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) {
  reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), size_t(cb));
  *pcb = cb;
  return 0;
}

class ZoomTest : public RichEditTest {
 protected:
  std::pair<int, int> zoom() {
    int n = -1;
    int d = -1;
    EXPECT_EQ(send(EM_GETZOOM, reinterpret_cast<WPARAM>(&n), &d), 1);
    return {n, d};
  }
  std::string rtf() {
    std::string out;
    EDITSTREAM es{reinterpret_cast<DWORD_PTR>(&out), 0, CALLBACK_collect};
    send(EM_STREAMOUT, SF_RTF, &es);
    return out;
  }
  QPoint posOf(LONG pos) {
    POINT p{};
    send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), pos);
    return QPoint(p.x, p.y);
  }
  QWidget* viewport() { return static_cast<QAbstractScrollArea*>(view())->viewport(); }
  void click(QPointF at) {
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, at, viewport()->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                    Qt::NoModifier);
      QApplication::sendEvent(viewport(), &e);
    }
  }
  // The height of the ink drawn in the viewport: the rows holding dark pixels.
  int inkHeight() {
    const QImage shot = viewport()->grab().toImage();
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < shot.height(); ++y) {
      for (int x = 0; x < shot.width(); ++x) {
        if (qGray(shot.pixel(x, y)) < 128) {
          if (top < 0) top = y;
          bottom = y;
          break;
        }
      }
    }
    return top < 0 ? 0 : bottom - top + 1;
  }
};

TEST_F(ZoomTest, SetZoomTakesRatiosStrictlyBetweenOneSixtyFourthAndSixtyFour) {
  struct Case {
    int numerator;
    int denominator;
    LRESULT accepted;
  };
  const Case cases[] = {
      {2, 1, 1},  {1, 4, 1}, {63, 1, 1}, {2, 127, 1}, {64, 1, 0},
      {1, 64, 0}, {0, 1, 0}, {1, 0, 0},  {-1, 2, 0},  {3, -2, 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(send(EM_SETZOOM, 3, 2), 1);
    EXPECT_EQ(send(EM_SETZOOM, WPARAM(std::intptr_t(c.numerator)), LPARAM(c.denominator)),
              c.accepted)
        << c.numerator << "/" << c.denominator;
    // A refused ratio leaves the zoom as it was.
    const std::pair<int, int> expected =
        c.accepted ? std::pair{c.numerator, c.denominator} : std::pair{3, 2};
    EXPECT_EQ(zoom(), expected) << c.numerator << "/" << c.denominator;
  }
  EXPECT_EQ(send(EM_SETZOOM, 0, 0), 1);
  EXPECT_EQ(zoom(), std::pair(0, 0));
  int n = 0;
  EXPECT_EQ(send(EM_GETZOOM, reinterpret_cast<WPARAM>(&n), LPARAM(0)), 0);
  EXPECT_EQ(send(EM_GETZOOM, 0, &n), 0);
}

TEST_F(ZoomTest, ZoomLeavesTheDocumentItsFormatsAndTheModifyFlag) {
  setText("Heel: ten steps, then sit.\rDown and stay.");
  send(EM_SETMODIFY, 0);
  const std::string before = rtf();
  const LRESULT canUndo = send(EM_CANUNDO);
  send(EM_SETZOOM, 5, 2);
  EXPECT_EQ(send(EM_GETMODIFY), 0);
  EXPECT_EQ(send(EM_CANUNDO), canUndo);
  EXPECT_EQ(rtf(), before);
  key(Qt::Key_Minus, QString(), Qt::ControlModifier);
  EXPECT_EQ(send(EM_GETMODIFY), 0);
  EXPECT_EQ(rtf(), before);
  EXPECT_EQ(range(0, -1), "Heel: ten steps, then sit.\rDown and stay.");
}

TEST_F(ZoomTest, TextWrapsToTheZoomedWidthAndComesBackAtFullSize) {
  setText("Walk to heel along the fence, turn at the gate and walk back again calmly.");
  const LRESULT lines = send(EM_GETLINECOUNT);
  const QPoint end = posOf(40);
  send(EM_SETZOOM, 2, 1);
  EXPECT_GT(send(EM_GETLINECOUNT), lines);
  // A character on the first line stands twice as far from the left edge.
  const QPoint near = posOf(5);
  send(EM_SETZOOM, 0, 0);
  const QPoint nearAtFull = posOf(5);
  EXPECT_NEAR(near.x() - 1, 2 * (nearAtFull.x() - 1), 2);
  EXPECT_EQ(send(EM_GETLINECOUNT), lines);
  EXPECT_EQ(posOf(40), end);
}

TEST_F(ZoomTest, PositionsAndClicksFollowTheZoom) {
  setText("Sit stay heel come down wait");
  for (auto [n, d] : {std::pair{2, 1}, std::pair{1, 2}, std::pair{0, 0}}) {
    send(EM_SETZOOM, WPARAM(n), LPARAM(d));
    for (LONG pos : {4, 9, 14}) {
      const QPoint p = posOf(pos);
      POINT point{p.x() + 1, p.y() + 2};
      EXPECT_EQ(send(EM_CHARFROMPOS, 0, &point), pos) << n << "/" << d;
      select(0, 0);
      click(QPointF(p.x(), p.y() + 2));  // client to viewport: the control's inset is one pixel
      EXPECT_EQ(selection().cpMin, pos) << n << "/" << d;
    }
  }
}

TEST_F(ZoomTest, TheTextIsDrawnAtTheZoomAndTheScrollRangeFollows) {
  setText("Sit");
  const int full = inkHeight();
  ASSERT_GT(full, 4);
  send(EM_SETZOOM, 2, 1);
  EXPECT_NEAR(inkHeight(), 2 * full, 3);

  std::string many;
  for (int i = 0; i < 60; ++i) many += "line\r";
  setText(many);
  send(EM_SETZOOM, 0, 0);
  auto* bar = static_cast<QAbstractScrollArea*>(view())->verticalScrollBar();
  const int page = bar->pageStep();
  const int fullRange = bar->maximum() + page;
  send(EM_SETZOOM, 2, 1);
  EXPECT_NEAR(bar->maximum() + page, 2 * fullRange, 4);
  // The caret at the end is scrolled into view at the zoom.
  select(LONG(many.size()), LONG(many.size()));
  send(EM_SCROLLCARET);
  EXPECT_EQ(bar->value(), bar->maximum());
  const QPoint caret = posOf(LONG(many.size()));
  EXPECT_GE(caret.y(), 0);
  EXPECT_LT(caret.y(), viewport()->height());
}

TEST_F(ZoomTest, KeysAndTheWheelStepTheZoomWithinItsRange) {
  view()->setFocus();
  key(Qt::Key_Plus, QStringLiteral("+"), Qt::ControlModifier);
  EXPECT_EQ(zoom(), std::pair(110, 100));
  key(Qt::Key_Equal, QStringLiteral("="), Qt::ControlModifier);
  EXPECT_EQ(zoom(), std::pair(125, 100));
  key(Qt::Key_0, QStringLiteral("0"), Qt::ControlModifier);
  EXPECT_EQ(zoom(), std::pair(0, 0));
  key(Qt::Key_Minus, QStringLiteral("-"), Qt::ControlModifier);
  EXPECT_EQ(zoom(), std::pair(90, 100));
  for (int i = 0; i < 20; ++i) key(Qt::Key_Minus, QStringLiteral("-"), Qt::ControlModifier);
  EXPECT_EQ(zoom(), std::pair(25, 100));
  for (int i = 0; i < 20; ++i) key(Qt::Key_Plus, QStringLiteral("+"), Qt::ControlModifier);
  EXPECT_EQ(zoom(), std::pair(500, 100));
  EXPECT_EQ(range(0, -1), "");  // none of the keys typed anything

  send(EM_SETZOOM, 0, 0);
  const QPointF at(20, 20);
  QWheelEvent wheel(at, viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::ControlModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(viewport(), &wheel);
  EXPECT_EQ(zoom(), std::pair(110, 100));
}

}  // namespace
}  // namespace richedit::test
