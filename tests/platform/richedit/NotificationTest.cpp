// What the control tells its host, and when.

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>
#include <functional>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

class NotificationTest : public RichEditTest {
 protected:
  NotificationTest() {
    send(EM_SETEVENTMASK, 0,
         ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED | ENM_LINK | ENM_REQUESTRESIZE);
  }
  void protect(LONG from, LONG to) {
    select(from, to);
    CHARFORMAT2A f{};
    f.cbSize = sizeof f;
    f.dwMask = CFM_PROTECTED;
    f.dwEffects = CFE_PROTECTED;
    send(EM_SETCHARFORMAT, SCF_SELECTION, &f);
  }
  void click(QEvent::Type type, LONG pos, Qt::MouseButton button) {
    const LRESULT at = send(EM_POSFROMCHAR, WPARAM(pos), 0);
    const QPointF local(LOWORD(at) - 1 + 2, HIWORD(at) + 4);  // inside the character
    QMouseEvent e(type, local, view()->mapToGlobal(local), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                  Qt::NoModifier);
    QApplication::sendEvent(static_cast<QAbstractScrollArea*>(view())->viewport(), &e);
  }
};

TEST_F(NotificationTest, OneChangePerEdit) {
  struct Step {
    const char* what;
    std::function<void()> act;
  };
  setText("abc");
  const Step steps[] = {
      {"set text", [&] { setText("walk"); }},
      {"replace", [&] { select(4, 4), replace("ed"); }},
      {"undo", [&] { send(EM_UNDO); }},
      {"cut", [&] { select(0, 1), send(WM_CUT); }},
      {"paste", [&] { send(WM_PASTE); }},
      {"clear", [&] { select(0, 1), send(WM_CLEAR); }},
      {"typing", [&] { type(QStringLiteral("x")); }},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    sink.clear();
    step.act();
    EXPECT_EQ(sink.count(EN_CHANGE), 1);
  }
  send(EM_SETEVENTMASK, 0, ENM_NONE);
  sink.clear();
  replace("quiet");
  EXPECT_TRUE(sink.notes.empty());
}

TEST_F(NotificationTest, SelectionChangeOnlyWhenTheSelectionMoves) {
  setText("good dog");
  select(1, 3);
  sink.clear();
  select(1, 3);
  EXPECT_EQ(sink.count(EN_SELCHANGE), 0);
  CHARFORMAT2A f{};
  f.cbSize = sizeof f;
  f.dwMask = CFM_BOLD;
  f.dwEffects = CFE_BOLD;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &f);
  EXPECT_EQ(sink.count(EN_SELCHANGE), 0);
  select(2, 5);
  ASSERT_EQ(sink.count(EN_SELCHANGE), 1);
  EXPECT_EQ(sink.notes.back().range.cpMin, 2);
  EXPECT_EQ(sink.notes.back().range.cpMax, 5);
}

TEST_F(NotificationTest, ProtectedTextAsksTheHost) {
  setText("Date: today. Notes");
  protect(0, 12);
  select(3, 3);
  sink.clear();
  sink.protectedAnswer = 1;
  replace("X");
  ASSERT_EQ(sink.count(EN_PROTECTED), 1);
  EXPECT_EQ(sink.notes[0].msg, EM_REPLACESEL);
  EXPECT_EQ(sink.notes[0].range.cpMin, 3);
  EXPECT_EQ(range(0, -1), "Date: today. Notes");
  select(2, 14);
  send(WM_CLEAR);
  EXPECT_EQ(range(0, -1), "Date: today. Notes");
  key(Qt::Key_Delete);
  EXPECT_EQ(range(0, -1), "Date: today. Notes");

  // Outside the protected run nothing is asked; with the host's leave the change goes ahead.
  select(18, 18);
  sink.clear();
  replace("!");
  EXPECT_EQ(sink.count(EN_PROTECTED), 0);
  sink.protectedAnswer = 0;
  select(0, 4);
  replace("Day");
  EXPECT_EQ(range(0, 4), "Day:");
}

TEST_F(NotificationTest, LinkMouseMessagesCarryTheLinkRange) {
  send(EM_AUTOURLDETECT, 1);
  setText("see www.example.com now");
  QApplication::processEvents();
  sink.clear();
  click(QEvent::MouseButtonPress, 8, Qt::LeftButton);
  click(QEvent::MouseButtonRelease, 8, Qt::LeftButton);
  std::vector<RecordingSink::Note> links;
  for (const auto& n : sink.notes) {
    if (n.code == EN_LINK && n.msg != WM_MOUSEMOVE && n.msg != WM_SETCURSOR) links.push_back(n);
  }
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].msg, WM_LBUTTONDOWN);
  EXPECT_EQ(links[1].msg, WM_LBUTTONUP);
  EXPECT_EQ(links[0].range.cpMin, 4);
  EXPECT_EQ(links[0].range.cpMax, 19);
  sink.clear();
  click(QEvent::MouseButtonPress, 1, Qt::RightButton);
  EXPECT_EQ(sink.count(EN_LINK), 0);  // not over a link
}

TEST_F(NotificationTest, ResizeRequestGivesTheContentHeight) {
  setText("one\rtwo\rthree");
  sink.clear();
  send(EM_REQUESTRESIZE);
  ASSERT_EQ(sink.count(EN_REQUESTRESIZE), 1);
  const LONG height = sink.notes[0].range.cpMax;
  EXPECT_GT(height, 30);
  setText("one");
  sink.clear();
  QApplication::processEvents();
  ASSERT_EQ(sink.count(EN_REQUESTRESIZE), 1);  // the content shrank
  EXPECT_LT(sink.notes[0].range.cpMax, height);
}

TEST_F(NotificationTest, SaveClipboardWhenDestroyedOwningIt) {
  for (LRESULT answer : {0, 1}) {
    SCOPED_TRACE(answer);
    RecordingSink own;
    own.saveClipboardAnswer = answer;
    auto other = std::make_unique<RichEditControl>(kStyle);
    other->setNotifySink(&own);
    other->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("to keep"));
    CHARRANGE all{0, 7};
    other->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    other->Perform(WM_COPY, 0, 0);
    ASSERT_EQ(QApplication::clipboard()->text(), "to keep");
    other.reset();
    ASSERT_EQ(own.count(EN_SAVECLIPBOARD), 1);
    EXPECT_EQ(own.notes.back().range.cpMax, 7);
    EXPECT_EQ(QApplication::clipboard()->text().isEmpty(), answer != 0);
  }
}

}  // namespace
}  // namespace richedit::test
