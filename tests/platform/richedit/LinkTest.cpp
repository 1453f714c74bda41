// Addresses found by URL detection: read as links, and told to the host when clicked.

#include <QAbstractScrollArea>
#include <QMouseEvent>

#include "platform/richedit/RichEditOle.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

class LinkTest : public RichEditTest {
 protected:
  CHARFORMAT2A formatOf(LONG from, LONG to) {
    select(from, to);
    CHARFORMAT2A f{};
    f.cbSize = sizeof f;
    send(EM_GETCHARFORMAT, SCF_SELECTION, &f);
    return f;
  }
  void mouse(QEvent::Type type, int pos, Qt::MouseButtons buttons) {
    const LRESULT at = send(EM_POSFROMCHAR, WPARAM(pos), 0);
    auto* target = static_cast<QAbstractScrollArea*>(view())->viewport();
    const QPoint p = target->mapFrom(&control, QPoint(LOWORD(at) + 2, HIWORD(at) + 3));
    QMouseEvent e(type, p, target->mapToGlobal(p), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
  }
};

TEST_F(LinkTest, DetectedAddressReadsAsALinkWhileItIsOne) {
  setText("see http://x.org/a now");
  //        0123456789012345678901
  EXPECT_EQ(send(EM_AUTOURLDETECT, 1), 0);
  struct Case {
    LONG from, to;
    bool link;   // CFE_LINK reported
    bool mixed;  // CFM_LINK left out of the mask
  };
  const Case cases[] = {
      {4, 18, true, false}, {6, 9, true, false},   {0, 3, false, false},
      {2, 8, false, true},  {15, 20, false, true}, {8, 8, true, false},  // a caret after "ht"
      {3, 3, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << "," << c.to);
    const CHARFORMAT2A f = formatOf(c.from, c.to);
    EXPECT_EQ((f.dwEffects & CFE_LINK) != 0, c.link);
    EXPECT_EQ((f.dwMask & CFM_LINK) == 0, c.mixed);
  }
  // Edited into something else, it is no link any more.
  select(5, 6);
  replace("x");
  EXPECT_FALSE(formatOf(6, 9).dwEffects & CFE_LINK);
  // Without detection nothing is a link.
  send(EM_AUTOURLDETECT, 0);
  setText("see http://x.org/a now");
  EXPECT_FALSE(formatOf(6, 9).dwEffects & CFE_LINK);
}

TEST_F(LinkTest, DetectionTakesOnlyOnOrOff) {
  struct Case {
    WPARAM value;
    LRESULT answer;
  };
  for (const Case c : {Case{1, 0}, Case{0, 0}, Case{2, LRESULT(E_INVALIDARG)},
                       Case{WPARAM(-1), LRESULT(E_INVALIDARG)}}) {
    EXPECT_EQ(send(EM_AUTOURLDETECT, c.value), c.answer);
  }
  EXPECT_EQ(send(EM_GETAUTOURLDETECT), 0);  // a refused value changes nothing
}

TEST_F(LinkTest, ClickOnADetectedAddressIsToldToTheHost) {
  setText("see http://x.org/a now");
  send(EM_AUTOURLDETECT, 1);
  send(EM_SETEVENTMASK, 0, ENM_LINK);
  sink.clear();
  mouse(QEvent::MouseButtonPress, 8, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, 8, Qt::NoButton);
  std::vector<UINT> msgs;
  for (const auto& note : sink.notes) {
    if (note.code != EN_LINK) continue;
    EXPECT_EQ(note.range.cpMin, 4);
    EXPECT_EQ(note.range.cpMax, 18);
    if (note.msg != WM_MOUSEMOVE && note.msg != WM_SETCURSOR) msgs.push_back(note.msg);
  }
  EXPECT_EQ(msgs, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  // Outside the address nothing is told.
  sink.clear();
  mouse(QEvent::MouseButtonPress, 1, Qt::LeftButton);
  EXPECT_EQ(sink.count(EN_LINK), 0);
}

}  // namespace
}  // namespace richedit::test
