// Undo as a person meets it: typing is one step until something else comes between.

#include <QAbstractScrollArea>
#include <QMouseEvent>
#include <functional>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

class UndoGroupingTest : public RichEditTest {
 protected:
  // Undoes until nothing is left, noting the text after each step.
  std::vector<std::string> undoAll() {
    std::vector<std::string> seen;
    for (int i = 0; i < 20 && send(EM_UNDO) != 0; ++i) seen.push_back(range(0, -1));
    return seen;
  }
  void click(int pos) {
    const LRESULT at = send(EM_POSFROMCHAR, WPARAM(pos), 0);
    const QPoint p(LOWORD(at) + 1, HIWORD(at) + 3);
    QWidget* target = static_cast<QAbstractScrollArea*>(view())->viewport();
    const QPoint inViewport = target->mapFrom(&control, p);
    QMouseEvent press(QEvent::MouseButtonPress, inViewport, target->mapToGlobal(inViewport),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, inViewport, target->mapToGlobal(inViewport),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
  }
  void focusAway() {
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(view(), &out);
    QFocusEvent in(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(view(), &in);
  }
};

TEST_F(UndoGroupingTest, TypingIsOneStepUntilSomethingComesBetween) {
  struct Case {
    const char* name;
    std::function<void()> act;
    std::vector<std::string> undone;  // the text after each undo, last to first
  };
  const Case cases[] = {
      {"typing with a backspace is one step",
       [this] {
         type("abc");
         key(Qt::Key_Backspace);
         type("d");
       },
       {""}},
      {"a line break typed is part of the typing",
       [this] {
         type("ab");
         key(Qt::Key_Return, "\r");
         type("c");
       },
       {""}},
      {"a caret moved by a key parts the typing",
       [this] {
         type("ab");
         key(Qt::Key_Left);
         type("cd");
       },
       {"ab", ""}},
      {"a caret moved back to where it was still parts the typing",
       [this] {
         type("ab");
         key(Qt::Key_Left);
         key(Qt::Key_Right);
         type("cd");
       },
       {"ab", ""}},
      {"a click parts the typing",
       [this] {
         type("ab");
         click(0);
         type("cd");
       },
       {"ab", ""}},
      {"a change of focus parts the typing",
       [this] {
         type("ab");
         focusAway();
         type("cd");
       },
       {"ab", ""}},
      {"EM_STOPGROUPTYPING parts the typing",
       [this] {
         type("ab");
         EXPECT_EQ(send(EM_STOPGROUPTYPING), 0);
         type("cd");
       },
       {"ab", ""}},
      {"a replacement by message is a step of its own",
       [this] {
         type("ab");
         replace("X");
         select(3, 3);
         type("cd");
       },
       {"abX", "ab", ""}},
      {"formatting parts the typing",
       [this] {
         type("ab");
         CHARFORMAT2A bold{};
         bold.cbSize = sizeof bold;
         bold.dwMask = CFM_BOLD;
         bold.dwEffects = CFE_BOLD;
         send(EM_SETCHARFORMAT, SCF_SELECTION, &bold);
         type("cd");
       },
       {"ab", ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    setText("");
    c.act();
    EXPECT_EQ(undoAll(), c.undone);
  }
}

TEST_F(UndoGroupingTest, EachDeleteIsAStepOfItsOwn) {
  setText("abcd");
  select(1, 1);
  key(Qt::Key_Delete);
  key(Qt::Key_Delete);
  EXPECT_EQ(range(0, -1), "ad");
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(range(0, -1), "acd");
  // A Delete between typing parts it too.
  setText("abcd");
  select(4, 4);
  type("ef");
  select(0, 0);
  key(Qt::Key_Delete);
  type("x");
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"bcdef", "abcdef", "abcd"}));
}

TEST_F(UndoGroupingTest, RedoTakesBackTheWholeStep) {
  type("ab");
  send(EM_STOPGROUPTYPING);
  type("cd");
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(range(0, -1), "");
  EXPECT_EQ(send(EM_REDO), 1);
  EXPECT_EQ(range(0, -1), "ab");
  EXPECT_EQ(send(EM_REDO), 1);
  EXPECT_EQ(range(0, -1), "abcd");
  EXPECT_EQ(send(EM_REDO), 0);
}

TEST_F(UndoGroupingTest, TheLimitCountsPersonsSteps) {
  struct Case {
    WPARAM asked;
    LRESULT answer;
  };
  // A negative limit asks for the platform's default.
  for (const Case c : {Case{WPARAM(-1), 100}, Case{3, 3}, Case{0, 0}, Case{100, 100}}) {
    EXPECT_EQ(send(EM_SETUNDOLIMIT, c.asked), c.answer);
  }
  send(EM_SETUNDOLIMIT, 2);
  for (const char* word : {"one", "two", "three"}) {
    type(word);
    send(EM_STOPGROUPTYPING);
  }
  EXPECT_EQ(undoAll(), (std::vector<std::string>{"onetwo", "one"}));
}

}  // namespace
}  // namespace richedit::test
