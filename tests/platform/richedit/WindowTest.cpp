// A person at the keyboard: typing, Enter and Tab, undo and redo, the text limit, paste.

#include <QClipboard>
#include <QMimeData>

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

TEST_F(WindowTest, ReadOnlyRefusesTyping) {
  setText("fixed");
  send(EM_SETREADONLY, 1);
  type(QStringLiteral("x"));
  key(Qt::Key_Z, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "fixed");
}

}  // namespace
}  // namespace richedit::test
