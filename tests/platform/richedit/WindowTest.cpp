// A person at the keyboard: typing, Enter and Tab, undo and redo, the text limit, paste.

#include <QAbstractScrollArea>
#include <QClipboard>
#include <QMimeData>
#include <QMouseEvent>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

using WindowTest = RichEditTest;

TEST_F(WindowTest, TypingEnterAndTab) {
  view()->setFocus();
  type(QStringLiteral("Sit"));
  key(Qt::Key_Return, QStringLiteral("\r"));
  key(Qt::Key_Tab, QStringLiteral("\t"));
  type(QStringLiteral("stay"));
  EXPECT_EQ(range(0, -1), "Sit\r\tstay");
  EXPECT_EQ(send(EM_GETLINECOUNT), 2);
  EXPECT_EQ(send(EM_GETMODIFY), 1);
  key(Qt::Key_Backspace);
  EXPECT_EQ(range(0, -1), "Sit\r\tsta");
  EXPECT_EQ(selection().cpMin, 8);
}

TEST_F(WindowTest, TypedTextTakesTheInsertionPointFormat) {
  type(QStringLiteral("ab"));
  CHARFORMAT2A bold{};
  bold.cbSize = sizeof bold;
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &bold);
  type(QStringLiteral("cd"));
  select(2, 4);
  CHARFORMAT2A got{};
  got.cbSize = sizeof got;
  send(EM_GETCHARFORMAT, SCF_SELECTION, &got);
  EXPECT_EQ(got.dwMask & CFM_BOLD, CFM_BOLD);
  EXPECT_TRUE(got.dwEffects & CFE_BOLD);
  select(0, 2);
  send(EM_GETCHARFORMAT, SCF_SELECTION, &got);
  EXPECT_FALSE(got.dwEffects & CFE_BOLD);
}

TEST_F(WindowTest, UndoAndRedoFromTheKeyboard) {
  type(QStringLiteral("heel"));
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "");
  key(Qt::Key_Y, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "heel");
}

TEST_F(WindowTest, UndoLimitHoldsForTheKeyboard) {
  send(EM_SETUNDOLIMIT, 1);
  type(QStringLiteral("a"));
  key(Qt::Key_Return, QStringLiteral("\r"));
  type(QStringLiteral("b"));
  key(Qt::Key_Return, QStringLiteral("\r"));
  const std::string before = range(0, -1);
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  const std::string once = range(0, -1);
  EXPECT_NE(once, before);
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), once);  // only one step may be undone
}

TEST_F(WindowTest, TextLimitRefusesTypingAndCutsPaste) {
  send(EM_EXLIMITTEXT, 0, 6);
  type(QStringLiteral("abcdefgh"));
  EXPECT_EQ(range(0, -1), "abcdef");
  select(2, 4);  // "cd" goes, room for two more
  QApplication::clipboard()->setText(QStringLiteral("WXYZ"));
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "abWXef");
}

TEST_F(WindowTest, CutCopyAndPasteKeepRichText) {
  setText("bold rest");
  select(0, 4);
  CHARFORMAT2A f{};
  f.cbSize = sizeof f;
  f.dwMask = CFM_BOLD;
  f.dwEffects = CFE_BOLD;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &f);
  key(Qt::Key_C, QString(), Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "bold");
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("text/rtf")));
  key(Qt::Key_X, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), " rest");
  EXPECT_EQ(send(EM_CANPASTE), 1);
  select(5, 5);
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), " restbold");
}

TEST_F(WindowTest, DraggingBeyondAWordSelectsWholeWords) {
  setText("sit stay heel");
  auto drag = [&](LONG from, LONG to) {
    select(0, 0);  // a press inside a selection would start dragging it instead
    auto* viewport = static_cast<QAbstractScrollArea*>(view())->viewport();
    auto at = [&](LONG pos) {
      POINT p{};
      send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), pos);
      return QPointF(p.x - 1 + 1, p.y + 4);  // client to viewport, just right of the caret spot
    };
    QMouseEvent press(QEvent::MouseButtonPress, at(from), viewport->mapToGlobal(at(from)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent move(QEvent::MouseMove, at(to), viewport->mapToGlobal(at(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at(to), viewport->mapToGlobal(at(to)),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    return selection();
  };
  CHARRANGE plain = drag(5, 10);
  EXPECT_EQ(plain.cpMin, 5);
  EXPECT_EQ(plain.cpMax, 10);
  send(EM_SETOPTIONS, ECOOP_OR, ECO_AUTOWORDSELECTION);
  CHARRANGE words = drag(5, 10);
  EXPECT_EQ(words.cpMin, 4);
  EXPECT_EQ(words.cpMax, 13);
  CHARRANGE inside = drag(5, 7);
  EXPECT_EQ(inside.cpMin, 5);
  EXPECT_EQ(inside.cpMax, 7);
}

TEST_F(WindowTest, ReadOnlyRefusesTyping) {
  setText("fixed");
  send(EM_SETREADONLY, 1);
  type(QStringLiteral("x"));
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "fixed");
}

}  // namespace
}  // namespace richedit::test
