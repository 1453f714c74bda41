// What the control tells its host, and when.

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextEdit>
#include <QWheelEvent>
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

TEST_F(NotificationTest, ChangeIsMaskedOnlyWhileSetTextTellsIt) {
  struct Case {
    const char* what;
    std::function<void()> act;
    DWORD maskWhileTold;
  };
  const DWORD mask = ENM_CHANGE | ENM_UPDATE | ENM_SELCHANGE;
  const Case cases[] = {
      {"set text", [&] { setText("walk"); }, mask & ~ENM_CHANGE},
      {"set the same text", [&] { setText("walk"); }, mask & ~ENM_CHANGE},
      {"set RTF", [&] { setText("{\\rtf1 heel}"); }, mask & ~ENM_CHANGE},
      {"replace", [&] { select(0, 0), replace("x"); }, mask},
      {"typing", [&] { type(QStringLiteral("y")); }, mask},
      {"cut", [&] { select(0, 1), send(WM_CUT); }, mask},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    send(EM_SETEVENTMASK, 0, mask);
    DWORD seen = 0xFFFFFFFF;
    sink.whileTold = [&](UINT code) {
      if (code == EN_CHANGE) seen = DWORD(send(EM_GETEVENTMASK));
    };
    sink.clear();
    c.act();
    sink.whileTold = nullptr;
    EXPECT_EQ(sink.count(EN_CHANGE), 1);
    EXPECT_EQ(seen, c.maskWhileTold);
    EXPECT_EQ(DWORD(send(EM_GETEVENTMASK)), mask);  // the host's mask is back afterwards
  }
  // A mask the host sets while it is told stands, also one equal to what it reads then.
  for (DWORD set : {DWORD(ENM_SELCHANGE), mask & ~ENM_CHANGE}) {
    send(EM_SETEVENTMASK, 0, mask);
    sink.whileTold = [&](UINT code) {
      if (code == EN_CHANGE) send(EM_SETEVENTMASK, 0, set);
    };
    setText("sit");
    sink.whileTold = nullptr;
    EXPECT_EQ(DWORD(send(EM_GETEVENTMASK)), set);
  }
}

TEST_F(NotificationTest, UpdateComesBeforeTheChangeWhileShown) {
  struct Case {
    const char* what;
    DWORD mask;
    bool shown;
    std::vector<UINT> told;  // the command notifications, in order
  };
  const Case cases[] = {
      {"update and change", ENM_CHANGE | ENM_UPDATE, true, {EN_UPDATE, EN_CHANGE}},
      {"update alone", ENM_UPDATE, true, {EN_UPDATE}},
      {"change alone", ENM_CHANGE, true, {EN_CHANGE}},
      {"hidden: nothing to update", ENM_CHANGE | ENM_UPDATE, false, {EN_CHANGE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    control.setVisible(c.shown);
    send(EM_SETEVENTMASK, 0, c.mask);
    DWORD seen = 0;
    sink.whileTold = [&](UINT code) {
      if (code == EN_UPDATE) seen = DWORD(send(EM_GETEVENTMASK));
    };
    sink.clear();
    select(0, 0);
    replace("more ");  // one edit: one of each, told before the message returns
    sink.whileTold = nullptr;
    std::vector<UINT> told;
    for (const auto& n : sink.notes) {
      if (n.code == EN_UPDATE || n.code == EN_CHANGE) told.push_back(n.code);
    }
    EXPECT_EQ(told, c.told);
    if (!told.empty() && told.front() == EN_UPDATE) {
      EXPECT_EQ(seen, c.mask);
    }
  }
  control.show();
}

TEST_F(NotificationTest, MessageFilterPutsKeysToTheHostFirst) {
  struct Case {
    const char* what;
    DWORD mask;
    Qt::Key key;
    const char* typed;
    UINT takenMsg;  // the message the host takes (0: none)
    std::vector<UINT> told;
    const char* after;
  };
  const Case cases[] = {
      {"letter let through",
       ENM_KEYEVENTS,
       Qt::Key_A,
       "a",
       0,
       {WM_KEYDOWN, WM_CHAR, WM_KEYUP},
       "abcd"},
      {"letter's character taken",
       ENM_KEYEVENTS,
       Qt::Key_A,
       "a",
       WM_CHAR,
       {WM_KEYDOWN, WM_CHAR, WM_KEYUP},
       "bcd"},
      {"letter's key-down taken: the character still types",
       ENM_KEYEVENTS,
       Qt::Key_A,
       "a",
       WM_KEYDOWN,
       {WM_KEYDOWN, WM_CHAR, WM_KEYUP},
       "abcd"},
      {"delete taken",
       ENM_KEYEVENTS,
       Qt::Key_Delete,
       "",
       WM_KEYDOWN,
       {WM_KEYDOWN, WM_KEYUP},
       "bcd"},
      {"delete let through", ENM_KEYEVENTS, Qt::Key_Delete, "", 0, {WM_KEYDOWN, WM_KEYUP}, "cd"},
      {"enter taken as a character",
       ENM_KEYEVENTS,
       Qt::Key_Return,
       "\r",
       WM_CHAR,
       {WM_KEYDOWN, WM_CHAR, WM_KEYUP},
       "bcd"},
      {"not asked for", ENM_MOUSEEVENTS, Qt::Key_A, "a", WM_CHAR, {}, "abcd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setText("bcd");
    select(0, 0);
    send(EM_SETEVENTMASK, 0, c.mask);
    sink.filterAnswer = [&](UINT msg) { return msg == c.takenMsg ? 1 : 0; };
    sink.clear();
    key(c.key, QString::fromLatin1(c.typed));
    std::vector<UINT> told;
    for (const auto& n : sink.notes) {
      if (n.code == EN_MSGFILTER) told.push_back(n.msg);
    }
    EXPECT_EQ(told, c.told);
    EXPECT_EQ(range(0, -1), c.after);
  }
  sink.filterAnswer = nullptr;
  // The platform's key codes and characters.
  send(EM_SETEVENTMASK, 0, ENM_KEYEVENTS);
  sink.clear();
  key(Qt::Key_B, QStringLiteral("b"));
  ASSERT_EQ(sink.count(EN_MSGFILTER), 3);
  EXPECT_EQ(sink.notes[0].wParam, WPARAM('B'));
  EXPECT_EQ(sink.notes[1].wParam, WPARAM('b'));
  EXPECT_EQ(sink.notes[2].lParam & LPARAM(0xC0000000u), LPARAM(0xC0000000u));  // released
}

TEST_F(NotificationTest, MessageFilterPutsTheMouseToTheHostFirst) {
  setText("good dog sits");
  select(0, 0);
  send(EM_SETEVENTMASK, 0, ENM_MOUSEEVENTS);
  struct Case {
    const char* what;
    Qt::MouseButton button;
    LRESULT answer;
    UINT down;
    LONG caretAfter;
  };
  const Case cases[] = {
      {"left let through", Qt::LeftButton, 0, WM_LBUTTONDOWN, 5},
      {"left taken", Qt::LeftButton, 1, WM_LBUTTONDOWN, 0},
      {"right", Qt::RightButton, 1, WM_RBUTTONDOWN, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    select(0, 0);
    sink.filterAnswer = [&](UINT) { return c.answer; };
    sink.clear();
    click(QEvent::MouseButtonPress, 5, c.button);
    click(QEvent::MouseButtonRelease, 5, c.button);
    std::vector<RecordingSink::Note> buttons;
    for (const auto& n : sink.notes) {
      if (n.code == EN_MSGFILTER && n.msg != WM_MOUSEMOVE) buttons.push_back(n);
    }
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].msg, c.down);
    EXPECT_EQ(buttons[1].msg, c.down + 1);
    // wParam holds the button still down at the press; lParam the point in the control.
    EXPECT_EQ(buttons[0].wParam, c.button == Qt::LeftButton ? WPARAM(0x0001) : WPARAM(0x0002));
    const LRESULT at = send(EM_POSFROMCHAR, 5, 0);
    EXPECT_NEAR(LOWORD(buttons[0].lParam), LOWORD(at), 3);
    EXPECT_EQ(selection().cpMin, c.caretAfter);
  }
  // The wheel is a mouse message too; taken, it scrolls nothing.
  std::string lines;
  for (int i = 0; i < 60; ++i) lines += "line\r";
  setText(lines);
  sink.filterAnswer = [](UINT msg) { return msg == WM_MOUSEWHEEL ? 1 : 0; };
  sink.clear();
  auto* bar = static_cast<QAbstractScrollArea*>(view())->verticalScrollBar();
  const int top = bar->value();
  QWheelEvent wheel(QPointF(20, 20), view()->mapToGlobal(QPointF(20, 20)), QPoint(),
                    QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(static_cast<QAbstractScrollArea*>(view())->viewport(), &wheel);
  ASSERT_EQ(sink.count(EN_MSGFILTER), 1);
  EXPECT_EQ(sink.notes[0].msg, WM_MOUSEWHEEL);
  EXPECT_EQ(std::int16_t(HIWORD(sink.notes[0].wParam)), -120);
  EXPECT_EQ(bar->value(), top);
  sink.filterAnswer = nullptr;
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

TEST_F(NotificationTest, EveryDeletingKeyAsksAboutProtectedText) {
  struct Case {
    const char* what;
    LONG caret;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
  };
  // "Date: today" is protected; each key would take some of it away.
  const Case cases[] = {
      {"backspace", 11, Qt::Key_Backspace, Qt::NoModifier},
      {"shift backspace", 11, Qt::Key_Backspace, Qt::ShiftModifier},
      {"delete", 10, Qt::Key_Delete, Qt::NoModifier},
      {"word before", 12, Qt::Key_Backspace, Qt::ControlModifier},
      {"word after", 6, Qt::Key_Delete, Qt::ControlModifier},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setText("Date: today notes");
    protect(0, 11);
    select(c.caret, c.caret);
    sink.clear();
    sink.protectedAnswer = 1;
    key(c.key, QString(), c.mods);
    EXPECT_EQ(range(0, -1), "Date: today notes");
    EXPECT_EQ(sink.count(EN_PROTECTED), 1);
  }
  // Overwriting the first protected character from its edge is a change to it too.
  static_cast<QTextEdit*>(view())->setOverwriteMode(true);
  select(0, 0);
  sink.clear();
  type(QStringLiteral("X"));
  EXPECT_EQ(range(0, -1), "Date: today notes");
  EXPECT_EQ(sink.count(EN_PROTECTED), 1);
  static_cast<QTextEdit*>(view())->setOverwriteMode(false);

  // Ctrl+Backspace in unprotected text deletes without asking.
  select(17, 17);
  sink.clear();
  key(Qt::Key_Backspace, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "Date: today ");
  EXPECT_EQ(sink.count(EN_PROTECTED), 0);
}

TEST_F(NotificationTest, InputMethodEditsAskAboutProtectedText) {
  struct Case {
    const char* what;
    LONG caret;
    const char* commit;
    int replaceFrom;  // from the caret
    int replaceLength;
    int asked;
  };
  // "Date: today" is protected.
  const Case cases[] = {
      {"commit inside", 3, "X", 0, 0, 1},
      {"correction reaching back into it", 12, "Today", -6, 6, 1},
      {"removal with nothing committed", 12, "", -2, 2, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    setText("Date: today notes");
    protect(0, 11);
    select(c.caret, c.caret);
    sink.clear();
    sink.protectedAnswer = 1;
    QInputMethodEvent e(QString(), {});
    e.setCommitString(QString::fromUtf8(c.commit), c.replaceFrom, c.replaceLength);
    QApplication::sendEvent(view(), &e);
    EXPECT_EQ(range(0, -1), "Date: today notes");
    EXPECT_EQ(sink.count(EN_PROTECTED), c.asked);
  }
  // A correction of unprotected text goes ahead without asking.
  select(17, 17);
  sink.clear();
  QInputMethodEvent e(QString(), {});
  e.setCommitString(QStringLiteral("Notes"), -5, 5);
  QApplication::sendEvent(view(), &e);
  EXPECT_EQ(range(0, -1), "Date: today Notes");
  EXPECT_EQ(sink.count(EN_PROTECTED), 0);
}

TEST_F(NotificationTest, DropAsksAboutProtectedTextWhereItLands) {
  setText("Date: today notes");
  protect(0, 11);
  auto dropAt = [&](LONG pos) {
    const LRESULT at = send(EM_POSFROMCHAR, WPARAM(pos), 0);
    const QPointF local(LOWORD(at) - 1 + 1, HIWORD(at) + 4);
    QMimeData mime;
    mime.setText(QStringLiteral("XY"));
    auto* viewport = static_cast<QAbstractScrollArea*>(view())->viewport();
    // Qt delivers a drop only to the widget that took the drag when it entered.
    QDragEnterEvent enter(local.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDropEvent drop(local, Qt::CopyAction | Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
  };
  sink.clear();
  sink.protectedAnswer = 1;
  EXPECT_FALSE(dropAt(3));
  EXPECT_EQ(range(0, -1), "Date: today notes");
  ASSERT_EQ(sink.count(EN_PROTECTED), 1);
  EXPECT_EQ(sink.notes[0].range.cpMin, 3);
  sink.clear();
  EXPECT_TRUE(dropAt(14));
  EXPECT_EQ(range(0, -1), "Date: today noXYtes");
  EXPECT_EQ(sink.count(EN_PROTECTED), 0);
  EXPECT_EQ(selection().cpMin, 14);  // the dropped text is left selected
  EXPECT_EQ(selection().cpMax, 16);
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
