// The editor's find and replace, driven through its own dialogs as a person presses their
// buttons: hits and misses, Find Again, Replace, Replace All and what the host hears of them.

#include <QPushButton>
#include <QRadioButton>
#include <string>
#include <vector>

#include "editor/KlCustomRichEdit.h"
#include "framework/dialogs/FindDialog.h"
#include "tests/editor/EditorFixture.h"

namespace kl::test {
namespace {

using richedit::CHARRANGE;

class FindReplaceTest : public EditorTest {
 protected:
  FindReplaceTest() {
    edit->show();
    edit->OnTextNotFound = [this](TObject*, const std::string& text) { misses.push_back(text); };
  }
  ~FindReplaceTest() override { edit->OnTextNotFound = nullptr; }

  static void Press(TFindDialog* dialog, const char* button) {
    ASSERT_NE(dialog->Handle(), nullptr);
    auto* b = dialog->Handle()->findChild<QAbstractButton*>(QString::fromLatin1(button));
    ASSERT_NE(b, nullptr) << button;
    b->click();
  }
  std::pair<int, int> Selection() {
    return {edit->SelectionStart(), edit->SelectionStart() + edit->SelectionLength()};
  }
  void Start(const std::string& text, int caret) {
    edit->SetText(text);
    edit->SetSelection(caret, caret, ScrollCaret::No);
  }

  std::vector<std::string> misses;
};

TEST_F(FindReplaceTest, FindNextSelectsEachHitThenReportsTheMissAndKeepsTheLastHit) {
  Start("a b a", 0);
  TFindDialog* dialog = edit->ShowFindDialog("a");
  Press(dialog, "findNext");
  EXPECT_EQ(Selection(), std::make_pair(0, 1));
  Press(dialog, "findNext");
  EXPECT_EQ(Selection(), std::make_pair(4, 5));
  EXPECT_TRUE(misses.empty());
  Press(dialog, "findNext");
  EXPECT_EQ(Selection(), std::make_pair(4, 5));
  EXPECT_EQ(misses, std::vector<std::string>{"a"});
}

TEST_F(FindReplaceTest, SearchesEndAtTheEndsOfTheTextWithoutWrapping) {
  Start("a b a", 5);
  TFindDialog* dialog = edit->ShowFindDialog("a");
  Press(dialog, "findNext");
  EXPECT_EQ(misses.size(), 1u);  // at the very end, downward: a miss at once
  Press(dialog, "up");
  Press(dialog, "findNext");
  EXPECT_EQ(Selection(), std::make_pair(4, 5));
  Press(dialog, "findNext");
  EXPECT_EQ(Selection(), std::make_pair(0, 1));
  Press(dialog, "findNext");
  EXPECT_EQ(Selection(), std::make_pair(0, 1));
  EXPECT_EQ(misses.size(), 2u);
}

TEST_F(FindReplaceTest, FindAgainRepeatsTheLastDialogSearchOrDoesNothing) {
  Start("dog cat dog", 0);
  EXPECT_FALSE(edit->CanFindAgain());
  EXPECT_FALSE(edit->FindAgain());
  EXPECT_FALSE(WasSent(richedit::EM_FINDTEXTEX));
  TFindDialog* dialog = edit->ShowFindDialog("dog");
  Press(dialog, "findNext");
  dialog->CloseDialog();
  EXPECT_TRUE(edit->FindAgain());  // with the dialog closed
  EXPECT_EQ(Selection(), std::make_pair(8, 11));
  // A search with an empty text (which the dialog's buttons do not allow) leaves the last
  // search as it was.
  TReplaceDialog* replace = edit->ShowReplaceDialog({}, {});
  replace->SetFindText("");
  replace->OnFind(replace);
  EXPECT_EQ(edit->LastSearchDialog(), dialog);
  EXPECT_FALSE(edit->FindAgain());
  EXPECT_EQ(misses, (std::vector<std::string>{"", "dog"}));
}

TEST_F(FindReplaceTest, ReplaceAllReplacesOnceEachAndTellsTheHostOnceAfterwards) {
  struct Case {
    const char* text;
    int caret;
    const char* find;
    const char* with;
    const char* result;
  };
  const Case cases[] = {
      {"a a", 0, "a", "aa", "aa aa"},  // the inserted text is not searched again
      {"x1 x2 x3", 0, "x", "why", "why1 why2 why3"},
      {"a b a b a", 4, "a", "-", "a b - b -"},  // before the caret stays
      {"\xF0\x9F\x90\x95 sit \xF0\x9F\x90\x95", 0, "\xF0\x9F\x90\x95", "\xE7\x8A\xAC",
       "\xE7\x8A\xAC sit \xE7\x8A\xAC"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Start(c.text, c.caret);
    std::vector<std::string> heard;
    edit->OnChange = [&](TObject*) { heard.push_back("change " + AllText()); };
    edit->OnSelectionChange = [&](TObject*) { heard.push_back("selection"); };
    TReplaceDialog* dialog = edit->ShowReplaceDialog(c.find, c.with);
    Press(dialog, "replaceAll");
    EXPECT_EQ(AllText(), c.result);
    EXPECT_EQ(heard, (std::vector<std::string>{std::string("change ") + c.result, "selection"}));
    EXPECT_NE(edit->Perform(richedit::EM_GETEVENTMASK) & richedit::ENM_CHANGE, 0u);
    EXPECT_TRUE(misses.empty());
    edit->OnChange = nullptr;
    edit->OnSelectionChange = nullptr;
    dialog->CloseDialog();
  }
}

TEST_F(FindReplaceTest, ReplaceAllWithNothingToReplaceReportsOnceAndChangesNothing) {
  Start("heel sit", 0);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->OnSelectionChange = [&](TObject*) { ++changes; };
  Press(edit->ShowReplaceDialog("down", "stay"), "replaceAll");
  EXPECT_EQ(misses, std::vector<std::string>{"down"});
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(AllText(), "heel sit");
  EXPECT_TRUE(edit->OnSelectionChange);  // the handler is back
}

TEST_F(FindReplaceTest, ReplaceSearchesOnFromTheSelection) {
  Start("sit sit sit", 0);
  edit->SetSelection(0, 3, ScrollCaret::No);  // the first already selected
  TReplaceDialog* dialog = edit->ShowReplaceDialog("sit", "down");
  Press(dialog, "replace");
  EXPECT_EQ(AllText(), "sit down sit");
  EXPECT_EQ(Selection(), std::make_pair(4, 8));  // the replacement stays selected
  Press(dialog, "replace");
  EXPECT_EQ(AllText(), "sit down down");
  Press(dialog, "replace");
  EXPECT_EQ(misses, std::vector<std::string>{"sit"});
}

TEST_F(FindReplaceTest, DialogsKeepTheirTextsAndANewOneTakesTheOthersText) {
  TReplaceDialog* replace = edit->ShowReplaceDialog("recall", "come");
  TFindDialog* find = edit->ShowFindDialog({});
  EXPECT_EQ(find->FindText(), "recall");
  EXPECT_EQ(edit->ShowFindDialog({}), find);
  EXPECT_EQ(find->FindText(), "recall");
  edit->ShowFindDialog("heel");
  EXPECT_EQ(find->FindText(), "heel");
  EXPECT_EQ(replace->FindText(), "recall");  // afterwards each keeps its own
  EXPECT_EQ(edit->ShowReplaceDialog({}, {})->ReplaceText(), "come");
}

TEST_F(FindReplaceTest, TheOlderControlSearchesDownwardOnly) {
  VersionGuard version(1);
  Start("a b a", 5);
  TFindDialog* dialog = edit->ShowFindDialog("a");
  EXPECT_TRUE(dialog->Options.contains(TFindOption::frHideUpDown));
  EXPECT_FALSE(dialog->Handle()->findChild<QRadioButton*>("up")->isVisible());
  edit->LocateText("a", 5, 1, {TRichSearchOption::soBackward});
  ASSERT_TRUE(WasSent(richedit::EM_FINDTEXTEX));
  EXPECT_EQ(Sent(richedit::EM_FINDTEXTEX).back().wParam & richedit::FR_DOWN, 0u);
}

TEST_F(FindReplaceTest, ClosingADialogTellsTheHostWhichOne) {
  std::vector<TFindDialog*> closed;
  edit->OnCloseFindDialog = [&](TObject*, TFindDialog* dialog) { closed.push_back(dialog); };
  TFindDialog* find = edit->ShowFindDialog("x");
  Press(find, "close");
  EXPECT_EQ(find->Handle(), nullptr);
  EXPECT_EQ(closed, std::vector<TFindDialog*>{find});
  edit->OnCloseFindDialog = nullptr;
}

TEST_F(FindReplaceTest, TheDialogMovesOffTheHitUpOrDownOnly) {
  std::string text;
  for (int i = 0; i < 8; ++i) text += "line\r";
  Start(text + "target", 0);
  edit->move(0, 0);
  edit->resize(400, 300);
  TFindDialog* dialog = edit->ShowFindDialog("target");
  const int hit = int(text.size());
  const TPoint at = edit->CharPosition(hit);
  const QPoint screen = edit->Control()->mapToGlobal(QPoint(at.x, at.y));
  dialog->SetPosition({screen.x() - 10, screen.y() - 10});
  const TRect before = dialog->WindowRect();
  Press(dialog, "findNext");
  ASSERT_EQ(Selection(), std::make_pair(hit, hit + 6));
  const TRect after = dialog->WindowRect();
  EXPECT_EQ(after.Left, before.Left);
  EXPECT_NE(after.Top, before.Top);
  EXPECT_FALSE(screen.y() >= after.Top && screen.y() < after.Bottom);
}

}  // namespace
}  // namespace kl::test
