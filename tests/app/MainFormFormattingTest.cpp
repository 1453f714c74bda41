// Formatting commands, the check marks that follow the caret, the font dialog and the status
// bar's caret panel.
#include <QMenu>
#include <QToolButton>

#include "app/ToolBar.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

class MainFormFormatting : public MainFormFixture {
 protected:
  // An entry of plain text only, with the caret at its start.
  void StartWith(const QString& text) {
    Start();
    Editor().Lines().Clear();
    Type(text);
    Editor().SetSelection(0, 0, ScrollCaret::No);
  }
};

TEST_F(MainFormFormatting, StyleCommandsAddOrRemoveTheirMemberAndKeepTheOthers) {
  StartWith("Sit");
  Editor().SelectAll();
  Editor().SelectionAttributes().SetStyle({TFontStyle::Italic});
  Form().rchMainSelectionChange(&Editor());
  struct Case {
    TAction* action;
    TFontStyles after;
  };
  const std::vector<Case> cases{
      {Form().actBold, {TFontStyle::Bold, TFontStyle::Italic}},
      {Form().actUnderline, {TFontStyle::Bold, TFontStyle::Italic, TFontStyle::Underline}},
      {Form().actItalic, {TFontStyle::Bold, TFontStyle::Underline}},
      {Form().actBold, {TFontStyle::Underline}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action->Name());
    c.action->Execute();
    EXPECT_EQ(Editor().SelectionAttributes().Style(), c.after);
  }
}

TEST_F(MainFormFormatting, CtrlBWithACaretMakesTheNextTypedTextBold) {
  StartWith("plain ");
  Editor().SetSelection(6, 6, ScrollCaret::No);
  PressKey(EditorWindow(), Qt::Key_B, Qt::ControlModifier);
  Type("bold");
  Editor().SetSelection(6, 10, ScrollCaret::No);
  EXPECT_EQ(Editor().SelectionAttributes().Style(), TFontStyles{TFontStyle::Bold});
  Editor().SetSelection(0, 5, ScrollCaret::No);
  EXPECT_TRUE(Editor().SelectionAttributes().Style().empty());
}

TEST_F(MainFormFormatting, CheckMarksAndPressedButtonsFollowTheCaret) {
  StartWith("plain bold\rjustified");
  Editor().SetSelection(6, 10, ScrollCaret::No);
  Editor().SelectionAttributes().SetStyle({TFontStyle::Bold});
  Editor().SetSelection(12, 12, ScrollCaret::No);
  Editor().ParagraphAttributes().SetAlignment(ParagraphAlignment::AlignJustify);
  auto* boldButton = Form().tlbMaintoolbar->findChild<QToolButton*>("btnBold");
  QAction* boldItem = Form().mniFormat->actions()[2];

  Editor().SetSelection(8, 8, ScrollCaret::No);
  EXPECT_TRUE(Form().actBold->Checked());
  EXPECT_TRUE(boldButton->isChecked());
  EXPECT_TRUE(boldItem->isChecked());
  EXPECT_TRUE(Form().actAlignLeft->Checked());

  Editor().SetSelection(2, 2, ScrollCaret::No);
  EXPECT_FALSE(Form().actBold->Checked());
  EXPECT_FALSE(boldButton->isChecked());

  // A justified paragraph checks none of the three alignments.
  Editor().SetSelection(14, 14, ScrollCaret::No);
  EXPECT_FALSE(Form().actAlignLeft->Checked());
  EXPECT_FALSE(Form().actAlignRight->Checked());
  EXPECT_FALSE(Form().actAlignCenter->Checked());
}

TEST_F(MainFormFormatting, AlignmentAndBulletsWriteTheParagraphWhateverTheirCheckMark) {
  StartWith("Heel");
  TKlParaAttributes& paragraph = Editor().ParagraphAttributes();
  Form().actAlignCenter->Execute();
  EXPECT_EQ(paragraph.Alignment(), ParagraphAlignment::AlignCenter);
  Form().actAlignRight->Execute();
  EXPECT_EQ(paragraph.Alignment(), ParagraphAlignment::AlignRight);
  Form().actAlignLeft->Execute();
  EXPECT_EQ(paragraph.Alignment(), ParagraphAlignment::AlignLeft);

  Form().actBullets->Execute();
  EXPECT_EQ(paragraph.Numbering(), NumberingStyle::NumberingBullet);
  // Bullets again leaves them in place, though the check mark flipped off.
  Form().actBullets->SetChecked(true);
  Form().actBullets->Execute();
  EXPECT_FALSE(Form().actBullets->Checked());
  EXPECT_EQ(paragraph.Numbering(), NumberingStyle::NumberingBullet);
  Form().rchMainSelectionChange(&Editor());
  EXPECT_TRUE(Form().actBullets->Checked());
}

TEST_F(MainFormFormatting, FontDialogStartsFromTheSelectionAndAppliesOnlyWhenConfirmed) {
  StartWith("Good dog");
  Editor().SetSelection(0, 4, ScrollCaret::No);
  TFont chosen;
  chosen.Name = "DejaVu Serif";
  chosen.Size = 14;
  chosen.Style = {TFontStyle::Italic};
  chosen.Color = 0x0000FF;

  Asked().QueueFontCancel();
  const TFont before = [&] {
    TFont font;
    Editor().SelectionAttributes().AssignTo(font);
    return font;
  }();
  Form().actFontSelect->Execute();
  ASSERT_EQ(Asked().FontsShown().size(), 1u);
  EXPECT_EQ(Asked().FontsShown()[0], before);
  EXPECT_EQ(Editor().SelectionAttributes().Name(), before.Name);

  Asked().QueueFont(chosen);
  Form().actFontSelect->Execute();
  EXPECT_EQ(Editor().SelectionAttributes().Name(), "DejaVu Serif");
  EXPECT_EQ(Editor().SelectionAttributes().Size(), 14);
  EXPECT_EQ(Editor().SelectionAttributes().Style(), TFontStyles{TFontStyle::Italic});
  EXPECT_EQ(Editor().SelectionAttributes().Color(), TColor(0x0000FF));
  Editor().SetSelection(5, 8, ScrollCaret::No);
  EXPECT_EQ(Editor().SelectionAttributes().Name(), before.Name);
}

TEST_F(MainFormFormatting, CaretPanelShowsTheSelectionStartPadded) {
  StartWith("one\rtwo two\rthree");
  struct Case {
    int start, end;
    std::string shown;
  };
  const std::vector<Case> cases{
      {0, 0, "Line:   1   Col:   1"},
      {6, 6, "Line:   2   Col:   3"},
      // From the end of line 3 back to the middle of line 2: the selection start counts.
      {17, 8, "Line:   2   Col:   5"},
  };
  for (const Case& c : cases) {
    Editor().SetSelection(c.start, c.end, ScrollCaret::No);
    EXPECT_EQ(Panel(0), c.shown);
  }
  EXPECT_EQ(Panel(2), "");
}

TEST_F(MainFormFormatting, FourDigitLineNumbersAreWrittenInFull) {
  Start();
  Editor().Lines().Clear();
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "x\r";
  Editor().SetSelectedText(text);
  Editor().SetSelection(2000, 2000, ScrollCaret::No);
  EXPECT_EQ(Panel(0), "Line: 1001   Col:   1");
}

TEST_F(MainFormFormatting, SelectionChangeRefreshesOnlyTheCaretPanel) {
  StartWith("abc");
  ASSERT_EQ(Panel(1), "Modified");
  Editor().SetModified(false);
  Editor().SetSelection(2, 2, ScrollCaret::No);
  EXPECT_EQ(Panel(0), "Line:   1   Col:   3");
  EXPECT_EQ(Panel(1), "Modified");

  Type("d");
  EXPECT_EQ(Panel(0), "Line:   1   Col:   4");
  EXPECT_EQ(Panel(1), "Modified");
  EXPECT_TRUE(Form().actSave->Enabled());
}

}  // namespace
}  // namespace kl::testing
