// What word processors put around the text: floating pictures and text boxes shown at their
// anchor (their fallback results not a second time), footnote marks, list levels without labels.
#include <gtest/gtest.h>

#include <QTextBlock>

#include "RtfTestSupport.h"
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/FormatCodes.h"

namespace richedit::rtf::test {
namespace {

TEST(RtfAroundText, ShapesShowTheirPictureOrTextAtTheAnchor) {
  struct Case {
    const char* name;
    QByteArray rtf;
    QString text;
  };
  const QByteArray fallback = "{\\shprslt{\\*\\do\\dobxcolumn{\\dptxbx{\\dptxbxtext fallback}}}}";
  const Case cases[] = {
      {"floating picture",
       "{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn pib}{\\sv "
       "{\\pict\\pngblip\\picw1\\pich1 00}}}}" +
           fallback + "}b}",
       QStringLiteral("a\uFFFCb")},
      {"text box",
       "{\\rtf1 a{\\shp{\\*\\shpinst{\\shptxt Box one\\par Box two}}" + fallback + "}b}",
       QStringLiteral("aBox one\rBox twob")},
      {"shape without picture or text shows its result",
       "{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn shapeType}{\\sv 1}}}{\\shprslt R}}b}",
       QStringLiteral("aRb")},
      {"older drawing object's text box",
       "{\\rtf1 a{\\*\\do\\dobxcolumn{\\dptxbx{\\dptxbxtext T}}}b}", QStringLiteral("aTb")},
      {"other shape properties are no text",
       "{\\rtf1 a{\\shp{\\*\\shpinst{\\sp{\\sn fillColor}{\\sv 255}}{\\sp{\\sn pib}{\\sv x}}}}b}",
       QStringLiteral("ab")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto read = readRtf(c.rtf);
    ASSERT_TRUE(read.result.ok);
    EXPECT_EQ(textOf(*read.doc), c.text);
  }
}

TEST(RtfAroundText, FootnoteMarksShowTheirNumberRaised) {
  const auto read = readRtf(
      "{\\rtf1 Sit{\\super\\chftn}{\\footnote{\\super\\chftn} Wait.} and down{\\chftn}"
      "{\\footnote\\pard Good.}.}");
  EXPECT_EQ(textOf(*read.doc), "Sit1 and down2.");
  EXPECT_EQ(charFormatAt(*read.doc, 3).verticalAlignment(), QTextCharFormat::AlignSuperScript);
  EXPECT_EQ(charFormatAt(*read.doc, 13).verticalAlignment(), QTextCharFormat::AlignSuperScript);
  EXPECT_EQ(charFormatAt(*read.doc, 14).verticalAlignment(), QTextCharFormat::AlignNormal);
}

TEST(RtfAroundText, ListLevelWithAnEmptyLabelShowsNone) {
  const auto read = readRtf(
      "{\\rtf1{\\*\\listtable{\\list\\listid7{\\listlevel\\levelnfc0\\levelstartat1{\\leveltext"
      "\\'02\\'00.;}}{\\listlevel\\levelnfc0{\\leveltext\\'00;}}}}"
      "{\\*\\listoverridetable{\\listoverride\\listid7\\ls1}}"
      "\\pard\\ls1 Sit\\par\\pard\\ls1\\ilvl1 Stay\\par}");
  const QTextBlock first = read.doc->begin();
  EXPECT_EQ(first.blockFormat().intProperty(fmt::BlockNumbering), PFN_ARABIC);
  EXPECT_EQ(first.next().blockFormat().intProperty(fmt::BlockNumbering), 0);
}

}  // namespace
}  // namespace richedit::rtf::test
