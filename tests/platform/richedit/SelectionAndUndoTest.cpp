// Selection rules, positions, selection type, the modify flag, and undo with its limit.

#include "platform/richedit/RichEditOle.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

using SelectionTest = RichEditTest;

TEST_F(SelectionTest, SetSelectionFollowsThePlatformRules) {
  setText("Euch gruesse Welt");  // 17 characters
  struct Case {
    LONG cpMin, cpMax;
    LONG wantMin, wantMax;
  };
  const Case cases[] = {
      {0, -1, 0, 18},    // everything, the final paragraph mark included
      {0, 100, 0, 18},   // an end past the text is clamped to the mark
      {17, 18, 17, 18},  // the final mark alone
      {17, 50, 17, 18}, {17, -5, 17, 18}, {5, 2, 2, 5},  // reversed ranges are turned round
      {-1, 5, 5, 5},     // a negative start deselects: the caret at the end
      {-3, -1, 17, 17},  // equal ends out of the text: the caret at the end
      {4, -1, 4, 18},    // a negative end runs to the end
      {40, 50, 17, 17}, {3, 3, 3, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.cpMin << "," << c.cpMax);
    EXPECT_EQ(select(c.cpMin, c.cpMax), c.wantMax);
    const CHARRANGE got = selection();
    EXPECT_EQ(got.cpMin, c.wantMin);
    EXPECT_EQ(got.cpMax, c.wantMax);
  }
}

// A negative start deselects: the caret goes to the end of what was selected, by either
// message.
TEST_F(SelectionTest, NegativeStartDeselects) {
  setText("Euch gruesse Welt");
  struct Case {
    UINT msg;
    LONG cpMin, cpMax;
  };
  for (const Case c : {Case{EM_EXSETSEL, -1, 0}, Case{EM_EXSETSEL, -1, 17}, Case{EM_SETSEL, -1, 0},
                       Case{EM_SETSEL, -1, 17}}) {
    SCOPED_TRACE(testing::Message() << c.msg << ": " << c.cpMin << "," << c.cpMax);
    select(2, 5);
    CHARRANGE r{c.cpMin, c.cpMax};
    const LRESULT answer =
        c.msg == EM_EXSETSEL ? send(EM_EXSETSEL, 0, &r) : send(EM_SETSEL, WPARAM(c.cpMin), c.cpMax);
    EXPECT_EQ(answer, 5);
    EXPECT_EQ(selection().cpMin, 5);
    EXPECT_EQ(selection().cpMax, 5);
  }
}

TEST_F(SelectionTest, OlderSelectionMessages) {
  setText("abcdef");
  send(EM_SETSEL, 1, 4);
  DWORD start = 0, end = 0;
  EXPECT_EQ(send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), &end), MAKELONG(1, 4));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 4u);
}

TEST_F(SelectionTest, SelectionTypeCountsCharacters) {
  setText("abc");
  const std::pair<std::pair<LONG, LONG>, LRESULT> cases[] = {
      {{1, 1}, SEL_EMPTY}, {{1, 2}, SEL_TEXT}, {{0, 3}, SEL_TEXT | SEL_MULTICHAR}};
  for (auto [r, want] : cases) {
    select(r.first, r.second);
    EXPECT_EQ(send(EM_SELECTIONTYPE), want);
  }
}

TEST_F(SelectionTest, PositionsAndPoints) {
  setText("abc\rdef");
  const LRESULT first = send(EM_POSFROMCHAR, 0, 0);
  EXPECT_EQ(LOWORD(first), 1);  // one pixel in from the left edge
  EXPECT_EQ(HIWORD(first), 0);
  POINT p{};
  send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), 4);
  EXPECT_EQ(p.x, 1);
  EXPECT_GT(p.y, 0);  // the second paragraph is lower
  POINT at{p.x + 1, p.y + 2};
  EXPECT_EQ(send(EM_CHARFROMPOS, 0, &at), 4);
  EXPECT_EQ(send(EM_POSFROMCHAR, WPARAM(-5), 0), -1);
}

TEST_F(SelectionTest, OptionsCombineAsAsked) {
  EXPECT_EQ(send(EM_SETOPTIONS, ECOOP_SET, ECO_AUTOWORDSELECTION | ECO_NOHIDESEL),
            LRESULT(ECO_AUTOWORDSELECTION | ECO_NOHIDESEL));
  EXPECT_EQ(send(EM_SETOPTIONS, ECOOP_OR, ECO_READONLY),
            LRESULT(ECO_AUTOWORDSELECTION | ECO_NOHIDESEL | ECO_READONLY));
  EXPECT_EQ(send(EM_SETOPTIONS, ECOOP_AND, ECO_READONLY | ECO_NOHIDESEL),
            LRESULT(ECO_READONLY | ECO_NOHIDESEL));
  EXPECT_EQ(send(EM_SETOPTIONS, ECOOP_XOR, ECO_READONLY), LRESULT(ECO_NOHIDESEL));
  EXPECT_EQ(send(EM_GETOPTIONS), LRESULT(ECO_NOHIDESEL));
}

TEST_F(SelectionTest, SettingsAnswerWhatTheyKeep) {
  EXPECT_EQ(send(EM_SETEVENTMASK, 0, ENM_CHANGE), LRESULT(ENM_NONE));
  EXPECT_EQ(send(EM_GETEVENTMASK), LRESULT(ENM_CHANGE));
  EXPECT_EQ(send(EM_AUTOURLDETECT, 1), 0);
  EXPECT_EQ(send(EM_GETAUTOURLDETECT), 1);
  EXPECT_EQ(send(EM_SETLANGOPTIONS, 0, IMF_AUTOKEYBOARD), 1);
  EXPECT_EQ(send(EM_GETLANGOPTIONS), LRESULT(IMF_AUTOKEYBOARD));
  EXPECT_EQ(send(EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3)), LRESULT(RGB(255, 255, 255)));
  EXPECT_EQ(send(EM_SETBKGNDCOLOR, 0, RGB(4, 5, 6)), LRESULT(RGB(1, 2, 3)));
  EXPECT_EQ(send(EM_SETTEXTMODE, TM_PLAINTEXT | TM_MULTILEVELUNDO), 0);
  EXPECT_EQ(send(EM_GETTEXTMODE) & TM_PLAINTEXT, LRESULT(TM_PLAINTEXT));
  setText("x");
  EXPECT_NE(send(EM_SETTEXTMODE, TM_RICHTEXT), 0);  // only while the control is empty
  EXPECT_EQ(send(0x0999), 0);                       // unsupported messages answer 0
}

TEST_F(SelectionTest, ObjectInterfaceRecordsHostNames) {
  IRichEditOle* ole = nullptr;
  EXPECT_EQ(send(EM_GETOLEINTERFACE, 0, &ole), 1);
  ASSERT_NE(ole, nullptr);
  EXPECT_EQ(ole->SetHostNames("Kennel Logbook", "Walk notes"), S_OK);
  auto* mine = static_cast<RichEditOle*>(ole);
  EXPECT_EQ(mine->hostAppName(), "Kennel Logbook");
  EXPECT_EQ(mine->hostObjectName(), "Walk notes");
}

TEST_F(SelectionTest, BadInputIsAnsweredNotFollowed) {
  setText("one\rtwo");
  // Records that are missing answer 0 and change nothing.
  for (UINT msg : {EM_EXGETSEL, EM_GETTEXTRANGE, EM_GETLINE, EM_GETCHARFORMAT, EM_SETCHARFORMAT,
                   EM_GETPARAFORMAT, EM_SETPARAFORMAT, EM_STREAMIN, EM_STREAMOUT, EM_CHARFROMPOS,
                   EM_GETOLEINTERFACE, WM_GETTEXT}) {
    SCOPED_TRACE(msg);
    EXPECT_EQ(send(msg, 0, LPARAM(0)), 0);
  }
  send(EM_EXSETSEL, 0, LPARAM(0));
  send(EM_GETSEL, 0, LPARAM(0));
  send(EM_GETTEXTLENGTHEX, 0, 0);
  EXPECT_EQ(range(0, -1), "one\rtwo");
  // Lines and positions out of range answer as the platform does.
  EXPECT_EQ(send(EM_LINEINDEX, 99), -1);
  EXPECT_EQ(send(EM_LINELENGTH, WPARAM(-7)), 0);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, -9), 0);
  EXPECT_EQ(send(EM_EXLINEFROMCHAR, 0, 1 << 30), 1);
  EXPECT_EQ(send(EM_POSFROMCHAR, 1000000, 0), -1);
  char buffer[8] = {8, 0};
  EXPECT_EQ(send(EM_GETLINE, WPARAM(-3), buffer), 0);
  send(WM_SETTEXT, 0, LPARAM(0));
  EXPECT_EQ(send(WM_GETTEXTLENGTH), 0);
}

using UndoTest = RichEditTest;

TEST_F(UndoTest, ModifyFlagFollowsEdits) {
  setText("abc");
  EXPECT_EQ(send(EM_GETMODIFY), 0);
  select(0, 1);
  CHARFORMAT2A bold{};
  bold.cbSize = sizeof bold;
  bold.dwMask = CFM_BOLD;
  bold.dwEffects = CFE_BOLD;
  send(EM_SETCHARFORMAT, SCF_SELECTION, &bold);
  EXPECT_EQ(send(EM_GETMODIFY), -1);
  send(EM_SETMODIFY, 0);
  EXPECT_EQ(send(EM_GETMODIFY), 0);
  select(1, 1);
  replace("x");
  EXPECT_EQ(send(EM_GETMODIFY), -1);
}

TEST_F(UndoTest, UndoAndRedoOfReplacements) {
  setText("abc");
  select(3, 3);
  replace("d");
  EXPECT_EQ(send(EM_CANUNDO), 1);
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(range(0, -1), "abc");
  EXPECT_EQ(send(EM_CANREDO), 1);
  EXPECT_EQ(send(EM_REDO), 1);
  EXPECT_EQ(range(0, -1), "abcd");
  replace("e", false);  // cannot be undone: the history goes
  EXPECT_EQ(send(EM_CANUNDO), 0);
  EXPECT_EQ(send(EM_UNDO), 0);
}

TEST_F(UndoTest, UndoLimitKeepsOnlyTheLastSteps) {
  EXPECT_EQ(send(EM_SETUNDOLIMIT, 2), 2);
  for (const char* word : {"one ", "two ", "three ", "four "}) {
    select(-1, -1);
    send(EM_REPLACESEL, 1, word);
    send(EM_STOPGROUPTYPING);
  }
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(send(EM_CANUNDO), 0);
  EXPECT_EQ(send(EM_UNDO), 0);
  EXPECT_EQ(range(0, -1), "one two ");
}

TEST_F(UndoTest, UndoLimitZeroDisablesUndo) {
  EXPECT_EQ(send(EM_SETUNDOLIMIT, 0), 0);
  replace("text");
  EXPECT_EQ(send(EM_CANUNDO), 0);
  EXPECT_EQ(send(EM_UNDO), 0);
  EXPECT_EQ(range(0, -1), "text");
  send(EM_SETUNDOLIMIT, 100);
  replace("more");
  EXPECT_EQ(send(EM_UNDO), 1);
  EXPECT_EQ(range(0, -1), "text");
}

TEST_F(UndoTest, EmptyUndoBuffer) {
  replace("text");
  send(EM_EMPTYUNDOBUFFER);
  EXPECT_EQ(send(EM_CANUNDO), 0);
}

}  // namespace
}  // namespace richedit::test
