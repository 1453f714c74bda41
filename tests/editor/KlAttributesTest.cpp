#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "editor/KlParaAttributes.h"
#include "editor/KlTextAttributes.h"
#include "framework/Exception.h"
#include "framework/StringList.h"

namespace kl::test {

using namespace richedit;

class AttributesTest : public EditorTest {
 protected:
  CHARFORMAT2A CharFormatAt(int pos) {
    edit->SetSelection(pos, pos + 1, ScrollCaret::No);
    CHARFORMAT2A f{};
    f.cbSize = sizeof(f);
    edit->Perform(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
    return f;
  }
  TKlTextAttributes& Sel() { return edit->SelectionAttributes(); }
  TKlParaAttributes& Para() { return edit->ParagraphAttributes(); }
};

TEST_F(AttributesTest, WithoutAWindowReadsAreZeroAndCharacterWritesAreDropped) {
  Sel().SetStyle({TFontStyle::Bold});
  Sel().SetName("Arial");
  EXPECT_EQ(Sel().Name(), "");
  EXPECT_EQ(Sel().Size(), 0);
  EXPECT_TRUE(Sel().Style().empty());
  EXPECT_EQ(Sel().Color(), 0u);
  EXPECT_EQ(Sel().Pitch(), TFontPitch::Default);
  EXPECT_EQ(Para().Numbering(), NumberingStyle::NumberingNone);
  EXPECT_EQ(Para().TabPosition(31), 0);
  EXPECT_FALSE(edit->HandleAllocated());
  Para().SetStartIndent(3);  // a paragraph write creates the window
  EXPECT_TRUE(edit->HandleAllocated());
  EXPECT_EQ(Para().StartIndent(), 3);
}

TEST_F(AttributesTest, StyleWriteOnAMixedSelectionMakesEveryStyleUniform) {
  edit->SetText("abcd");
  edit->SetSelection(2, 4, ScrollCaret::No);
  Sel().SetStyle({TFontStyle::Italic});
  edit->SetSelection(0, 4, ScrollCaret::No);
  TFontStyles style = Sel().Style();  // as the control reports the start of the selection
  style.include(TFontStyle::Bold);
  Sel().SetStyle(style);
  EXPECT_EQ(Sent(EM_SETCHARFORMAT).back().chars.dwMask, 0x0Fu);
  for (int pos : {0, 3}) {
    const CHARFORMAT2A f = CharFormatAt(pos);
    EXPECT_TRUE(f.dwEffects & CFE_BOLD) << pos;
    EXPECT_FALSE(f.dwEffects & CFE_ITALIC) << pos;
  }
}

TEST_F(AttributesTest, BoldAtTheInsertionPointAppliesToTheNextText) {
  edit->SetText("Sit ");
  edit->SetSelection(4, 4, ScrollCaret::No);
  Sel().SetStyle({TFontStyle::Bold});
  edit->SetSelectedText("now");
  EXPECT_TRUE(CharFormatAt(5).dwEffects & CFE_BOLD);
  EXPECT_FALSE(CharFormatAt(1).dwEffects & CFE_BOLD);
}

TEST_F(AttributesTest, ApplyFontWritesOneRecordWithAutomaticColour) {
  edit->SetText("Rex");
  edit->SetSelection(0, 3, ScrollCaret::No);
  TFont font;
  font.Name = "DejaVu Serif";
  font.Size = 16;
  font.Style = {TFontStyle::Bold, TFontStyle::Italic, TFontStyle::Underline, TFontStyle::StrikeOut};
  font.Color = clWindowText;
  font.Pitch = TFontPitch::Variable;
  font.Charset = 0;
  sent.clear();
  Sel().Assign(font);
  auto writes = Sent(EM_SETCHARFORMAT);
  ASSERT_EQ(writes.size(), 1u);
  const CHARFORMAT2A& f = writes[0].chars;
  EXPECT_EQ(f.dwMask, 0xE000000Fu | CFM_CHARSET | CFM_WEIGHT);
  EXPECT_EQ(f.dwEffects, CFE_AUTOCOLOR | 0x0Fu);
  EXPECT_EQ(f.yHeight, 320);
  EXPECT_EQ(f.wWeight, 700);
  EXPECT_EQ(f.bPitchAndFamily, VARIABLE_PITCH);

  TFont back;
  Sel().AssignTo(back);
  EXPECT_EQ(back.Color, clWindowText);
  EXPECT_EQ(back.Name, "DejaVu Serif");
  EXPECT_EQ(back.Size, 16);
  EXPECT_EQ(back.Style, font.Style);

  font.Color = 0x0000FF;
  Sel().ApplyFont(font);
  EXPECT_EQ(Sel().Color(), 0x0000FFu);
  EXPECT_FALSE(CharFormatAt(0).dwEffects & CFE_AUTOCOLOR);
}

TEST_F(AttributesTest, SizeDropsTheRemainderOfTwips) {
  edit->SetText("Rex");
  edit->SetSelection(0, 3, ScrollCaret::No);
  CHARFORMAT2A f{};
  f.cbSize = sizeof(f);
  f.dwMask = CFM_SIZE;
  f.yHeight = 241;
  edit->Perform(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
  EXPECT_EQ(Sel().Size(), 12);
}

TEST_F(AttributesTest, NameIsCutToThirtyOneBytes) {
  edit->SetText("Rex");
  edit->SetSelection(0, 3, ScrollCaret::No);
  Sel().SetName(std::string(40, 'F'));
  EXPECT_EQ(std::string(Sent(EM_SETCHARFORMAT).back().chars.szFaceName), std::string(31, 'F'));
}

TEST_F(AttributesTest, CopyingAttributesCopiesOnlyWhatIsUniform) {
  edit->SetText("abcd");
  edit->SetSelection(0, 2, ScrollCaret::No);
  Sel().SetStyle({TFontStyle::Underline});
  edit->SetSelection(0, 4, ScrollCaret::No);  // underline is mixed here
  edit->DefaultAttributes().Assign(Sel());
  const DWORD mask = Sent(EM_SETCHARFORMAT).back().chars.dwMask;
  EXPECT_EQ(Sent(EM_SETCHARFORMAT).back().wParam, SCF_DEFAULT);
  EXPECT_FALSE(mask & CFM_UNDERLINE);
  EXPECT_TRUE(mask & CFM_BOLD);

  TStringList list;
  try {
    Sel().Assign(list);
    FAIL() << "a string list became attributes";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TStringList to a TKlTextAttributes");
  }
  EXPECT_THROW(Para().Assign(list), Exception);
}

TEST_F(AttributesTest, BulletsGiveAHangingOffsetOfAtLeastTenPoints) {
  edit->SetText("Sit\rStay");
  struct Case {
    int offset;
    NumberingStyle numbering;
    int expected;
  };
  const Case cases[] = {{4, NumberingStyle::NumberingBullet, 10},
                        {15, NumberingStyle::NumberingBullet, 15},
                        {15, NumberingStyle::NumberingNone, 0}};
  for (const Case& c : cases) {
    Para().SetIndentOffset(c.offset);
    Para().SetNumbering(c.numbering);
    EXPECT_EQ(Para().IndentOffset(), c.expected) << c.offset;
    EXPECT_EQ(Para().Numbering(), c.numbering);
  }
}

TEST_F(AttributesTest, VersionOneKnowsOnlyBullets) {
  edit->SetText("Sit");
  VersionGuard v1(1);
  Para().SetNumbering(NumberingStyle(PFN_ARABIC));
  const auto writes = Sent(EM_SETPARAFORMAT);
  EXPECT_EQ(writes.back().para.wNumbering, PFN_BULLET);
  EXPECT_EQ(writes.back().para.cbSize, sizeof(PARAFORMAT));
  EXPECT_EQ(Para().Numbering(), NumberingStyle::NumberingBullet);
  Sel().SetStyle({});
  EXPECT_EQ(Sent(EM_SETCHARFORMAT).back().chars.cbSize, sizeof(CHARFORMATA));
}

TEST_F(AttributesTest, RightToLeftSwapsLeftAndRightOnWriteOnly) {
  edit->SetText("Sit");
  edit->SetBiDiMode(TBiDiMode::bdRightToLeft);
  Para().SetAlignment(ParagraphAlignment::AlignLeft);
  EXPECT_EQ(Sent(EM_SETPARAFORMAT).back().para.wAlignment, PFA_RIGHT);
  EXPECT_EQ(Para().Alignment(), ParagraphAlignment::AlignRight);
  Para().SetAlignment(ParagraphAlignment::AlignCenter);
  EXPECT_EQ(Para().Alignment(), ParagraphAlignment::AlignCenter);
}

TEST_F(AttributesTest, ParagraphPropertiesRoundTripInPoints) {
  edit->SetText("Sit");
  Para().SetAlignment(ParagraphAlignment::AlignJustify);
  Para().SetStartIndent(12);
  Para().SetRightIndent(7);
  EXPECT_EQ(Para().Alignment(), ParagraphAlignment::AlignJustify);
  EXPECT_EQ(Para().StartIndent(), 12);
  EXPECT_EQ(Para().RightIndent(), 7);
  EXPECT_EQ(Sent(EM_SETPARAFORMAT).back().para.dxRightIndent, 140);
}

TEST_F(AttributesTest, FirstTabStopLandsWithinTheCount) {
  edit->SetText("Sit");
  Para().SetTabPosition(0, 36);
  PARAFORMAT2 p{};
  p.cbSize = sizeof(p);
  edit->Perform(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&p));
  EXPECT_EQ(p.cTabCount, 1);
  EXPECT_EQ(p.rgxTabs[0], 720);
  EXPECT_EQ(Para().TabPosition(0), 36);
  EXPECT_THROW(Para().SetTabPosition(32, 1), Exception);
  EXPECT_THROW(Para().TabPosition(-1), Exception);
}

}  // namespace kl::test
