// The character and paragraph formats that RTF fragments give, as DocumentFormat.h keeps them.
#include <gtest/gtest.h>

#include <QTextBlock>

#include "RtfTestSupport.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit::rtf::test {
namespace {

using namespace richedit::fmt;

const QByteArray kHeader =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Arial;}{\\f1\\froman\\fcharset0 "
    "Times New Roman;}}{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}";

QTextCharFormat formatOfX(const QByteArray& body) {
  const auto read = readRtf(kHeader + body + "}");
  const int at = textOf(*read.doc).indexOf(u'X');
  EXPECT_GE(at, 0);
  return charFormatAt(*read.doc, at);
}

TEST(RtfReaderFormat, CharacterAttributes) {
  const QTextCharFormat plain = formatOfX("X");
  EXPECT_EQ(plain.fontFamilies().toStringList(), QStringList{"Arial"});
  EXPECT_EQ(plain.fontPointSize(), 12.0);
  EXPECT_LT(plain.fontWeight(), int(QFont::Bold));
  EXPECT_FALSE(plain.hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(plain.intProperty(CharPitchAndFamily), 0x22);

  const QTextCharFormat rich = formatOfX("\\f1\\fs21\\b\\i\\ul\\strike\\cf2\\protect\\v X");
  EXPECT_EQ(rich.fontFamilies().toStringList(), QStringList{"Times New Roman"});
  EXPECT_EQ(rich.fontPointSize(), 10.5);
  EXPECT_GE(rich.fontWeight(), int(QFont::Bold));
  EXPECT_EQ(rich.intProperty(CharWeight), 700);
  EXPECT_TRUE(rich.fontItalic());
  EXPECT_TRUE(rich.fontUnderline());
  EXPECT_TRUE(rich.fontStrikeOut());
  EXPECT_EQ(rich.foreground().color(), QColor(0, 0, 255));
  EXPECT_TRUE(rich.boolProperty(CharProtected));
  EXPECT_TRUE(rich.boolProperty(CharHidden));
}

TEST(RtfReaderFormat, TogglesGroupsAndPlainTurnAttributesOff) {
  struct Case {
    const char* body;
    bool bold, underline;
  } cases[] = {
      {"\\b\\b0 X", false, false},    {"{\\b a}X", false, false},
      {"\\b\\plain X", false, false}, {"\\ul\\ulnone X", false, false},
      {"\\ul\\ul0 X", false, false},  {"\\b1\\uldb X", true, true},
  };
  for (const auto& c : cases) {
    const QTextCharFormat f = formatOfX(c.body);
    EXPECT_EQ(f.fontWeight() >= QFont::Bold, c.bold) << c.body;
    EXPECT_EQ(f.fontUnderline(), c.underline) << c.body;
  }
  EXPECT_FALSE(formatOfX("\\cf1\\cf0 X").hasProperty(QTextFormat::ForegroundBrush));
  EXPECT_EQ(formatOfX("\\cf1 X").foreground().color(), QColor(255, 0, 0));
}

TEST(RtfReaderFormat, HyperlinkResultIsMarkedWithItsTarget) {
  const QTextCharFormat f = formatOfX(
      "{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a?b=1\"}}{\\fldrslt{\\ul X}}}");
  EXPECT_TRUE(f.isAnchor());
  EXPECT_EQ(f.anchorHref(), "https://example.org/a?b=1");
  const QTextCharFormat place =
      formatOfX("{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}{\\fldrslt X}}");
  EXPECT_EQ(place.anchorHref(), "#top");
  EXPECT_FALSE(formatOfX("{\\field{\\*\\fldinst{HYPERLINK \"u\"}}{\\fldrslt a}}X").isAnchor());
}

QTextBlockFormat firstBlock(const QByteArray& rtf) {
  const auto read = readRtf(rtf);
  return read.doc->begin().blockFormat();
}

TEST(RtfReaderFormat, ParagraphPropertiesApplyAtTheParOnly) {
  // An unterminated last paragraph keeps the format it had; the final \par carries them.
  const QTextBlockFormat open = firstBlock("{\\rtf1\\fi100\\li200\\rtlpar\\qr TestSomeText}");
  EXPECT_EQ(open.intProperty(BlockStartIndent), 0);
  EXPECT_FALSE(open.boolProperty(BlockRtl));

  const QTextBlockFormat closed =
      firstBlock("{\\rtf1\\fi100\\li200\\ri50\\rtlpar\\qr TestSomeText\\par}");
  EXPECT_EQ(closed.intProperty(BlockStartIndent), 300);
  EXPECT_EQ(closed.intProperty(BlockOffset), -100);
  EXPECT_EQ(closed.intProperty(BlockRightIndent), 50);
  EXPECT_TRUE(closed.boolProperty(BlockRtl));
  EXPECT_EQ(closed.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST(RtfReaderFormat, AlignmentAndTabStops) {
  const auto read = readRtf("{\\rtf1\\qc a\\par\\qj b\\par\\pard c\\par\\tx720\\tx1440 d\\par}");
  QTextBlock b = read.doc->begin();
  EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  b = b.next();
  EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
  b = b.next();
  EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
  b = b.next();
  EXPECT_EQ(b.blockFormat().property(BlockTabs).value<QList<int>>(), (QList<int>{720, 1440}));
  EXPECT_EQ(b.blockFormat().tabPositions().size(), 2);
}

TEST(RtfReaderFormat, AtMost32TabStops) {
  QByteArray tabs;
  for (int i = 1; i <= 40; ++i) tabs += "\\tx" + QByteArray::number(i * 100);
  const QTextBlockFormat b = firstBlock("{\\rtf1" + tabs + " a\\par}");
  EXPECT_EQ(b.property(BlockTabs).value<QList<int>>().size(), 32);
}

struct NumberingCase {
  const char* name;
  QByteArray rtf;
  int kind, start, style;
};

void PrintTo(const NumberingCase& c, std::ostream* os) {
  *os << c.name;
}

class RtfReaderNumbering : public ::testing::TestWithParam<NumberingCase> {};

TEST_P(RtfReaderNumbering, EveryParagraphOfTheListIsNumbered) {
  const auto read = readRtf(GetParam().rtf);
  EXPECT_EQ(textOf(*read.doc), "One\rTwo");
  for (QTextBlock b = read.doc->begin(); b.isValid(); b = b.next()) {
    const QTextBlockFormat f = b.blockFormat();
    EXPECT_EQ(f.intProperty(BlockNumbering), GetParam().kind) << b.text().toStdString();
    if (GetParam().kind != PFN_BULLET) {
      EXPECT_EQ(f.intProperty(BlockNumberingStart), GetParam().start);
      EXPECT_EQ(f.intProperty(BlockNumberingStyle), GetParam().style);
    }
  }
}

const QByteArray kWordLists =
    "{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23\\levelstartat1{\\leveltext"
    "\\'01\\u-3913 ?;}{\\levelnumbers;}}\\listid10}{\\list{\\listlevel\\levelnfc0\\levelstartat3"
    "{\\leveltext\\'02\\'00.;}{\\levelnumbers\\'01;}}{\\listlevel\\levelnfc4{\\leveltext\\'03(\\'"
    "01)"
    ";}}\\listid20}}{\\*\\listoverridetable{\\listoverride\\listid10\\listoverridecount0\\ls1}"
    "{\\listoverride\\listid20\\listoverridecount0\\ls2}}";

INSTANTIATE_TEST_SUITE_P(
    Lists, RtfReaderNumbering,
    ::testing::Values(
        NumberingCase{"pn bullets",
                      "{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb"
                      "\\'b7}}\\fi-360\\li360 One\\par{\\pntext\\f1\\'b7\\tab}Two\\par}",
                      PFN_BULLET, 0, 0},
        NumberingCase{"pn decimal from 2 with period",
                      "{\\rtf1{\\*\\pn\\pnlvlbody\\pndec\\pnstart2{\\pntxta .}}One\\par Two\\par}",
                      PFN_ARABIC, 2, NumberingPeriod},
        NumberingCase{
            "pn upper roman in parentheses",
            "{\\rtf1{\\*\\pn\\pnlvlbody\\pnucrm{\\pntxtb (}{\\pntxta )}}One\\par Two\\par}",
            PFN_UCROMAN, 1, NumberingParens},
        NumberingCase{
            "list table bullet",
            "{\\rtf1" + kWordLists +
                "{\\listtext\\'b7\\tab}\\ls1\\ilvl0 One\\par{\\listtext\\'b7\\tab}Two\\par}",
            PFN_BULLET, 0, 0},
        NumberingCase{"list table decimal",
                      "{\\rtf1" + kWordLists +
                          "{\\listtext 3.\\tab}\\ls2 One\\par{\\listtext 4.\\tab}Two\\par}",
                      PFN_ARABIC, 3, NumberingPeriod},
        NumberingCase{"list table second level letters",
                      "{\\rtf1" + kWordLists + "\\ls2\\ilvl1 One\\par Two\\par}", PFN_LCLETTER, 1,
                      NumberingParens}),
    [](const auto& info) {
      std::string name = info.param.name;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(RtfReaderFormat, PardEndsTheList) {
  const auto read = readRtf("{\\rtf1{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}One\\par\\pard Two\\par}");
  EXPECT_EQ(read.doc->begin().blockFormat().intProperty(BlockNumbering), PFN_BULLET);
  EXPECT_EQ(read.doc->begin().next().blockFormat().intProperty(BlockNumbering), 0);
}

TEST(RtfReaderFormat, ParagraphMarkKeepsTheFormatAtItsPar) {
  // The empty paragraph after a bold \par starts bold: typing there continues the format.
  const auto read = readRtf("{\\rtf1 a{\\b\\par}\\par}");
  EXPECT_GE(read.doc->begin().next().charFormat().fontWeight(), int(QFont::Bold));
}

}  // namespace
}  // namespace richedit::rtf::test
