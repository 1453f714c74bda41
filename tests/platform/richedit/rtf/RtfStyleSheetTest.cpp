// Style sheets: a paragraph's style and a run's character style give the text their look
// (bases followed, rings cut), and the writer puts that look on the text itself.
#include <gtest/gtest.h>

#include <QTextBlock>

#include "RtfTestSupport.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit::rtf::test {
namespace {

QTextBlock blockStarting(const QTextDocument& doc, const QString& text) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    if (b.text().startsWith(text)) return b;
  return {};
}

QTextCharFormat formatOf(const QTextDocument& doc, const QString& text) {
  const int at = int(doc.toPlainText().indexOf(text));
  EXPECT_GE(at, 0) << text.toStdString();
  return charFormatAt(doc, at);
}

class RtfStyleSheet : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto read = readRtf(readFile(KL_TEST_DATA "/rtf/styles/word-style-sheet.rtf"));
    ASSERT_TRUE(read.result.ok);
    doc_ = std::shared_ptr<QTextDocument>(read.doc->clone());
  }
  std::shared_ptr<QTextDocument> doc_;
};

TEST_F(RtfStyleSheet, HeadingsTakeTheirStylesColoursSizesAndSpacing) {
  const QTextCharFormat h1 = formatOf(*doc_, QStringLiteral("Week 3"));
  EXPECT_EQ(h1.fontPointSize(), 16.0);
  EXPECT_EQ(h1.foreground().color(), QColor(47, 84, 150));
  EXPECT_EQ(h1.fontFamilies().toStringList().value(0), u"Calibri Light");
  EXPECT_EQ(blockStarting(*doc_, "Week 3").blockFormat().intProperty(fmt::BlockSpaceBefore), 240);

  // Heading 2 is based on heading 1: its colour and font come from there, its size is its own.
  const QTextCharFormat h2 = formatOf(*doc_, QStringLiteral("Off lead"));
  EXPECT_EQ(h2.fontPointSize(), 13.0);
  EXPECT_TRUE(h2.fontItalic());
  EXPECT_EQ(h2.foreground().color(), QColor(47, 84, 150));
  EXPECT_EQ(h2.fontFamilies().toStringList().value(0), u"Calibri Light");
}

TEST_F(RtfStyleSheet, CharacterStyleAppliesToItsRunOnly) {
  const QTextCharFormat strong = formatOf(*doc_, QStringLiteral("every"));
  EXPECT_GE(strong.fontWeight(), QFont::Bold);
  EXPECT_EQ(strong.foreground().color(), QColor(192, 0, 0));
  const QTextCharFormat after = formatOf(*doc_, QStringLiteral(" time"));
  EXPECT_LT(after.fontWeight(), QFont::Bold);
  EXPECT_FALSE(after.hasProperty(QTextFormat::ForegroundBrush));
}

TEST_F(RtfStyleSheet, StylesBasedOnThemselvesOrInARingAndMissingStylesStillRead) {
  EXPECT_EQ(blockStarting(*doc_, "Centred").blockFormat().alignment(), Qt::AlignHCenter);
  EXPECT_GE(formatOf(*doc_, QStringLiteral("Centred")).fontWeight(), QFont::Bold);
  EXPECT_EQ(formatOf(*doc_, QStringLiteral("Ring")).fontPointSize(), 20.0);
  EXPECT_EQ(blockStarting(*doc_, "Ring").blockFormat().intProperty(fmt::BlockSpaceBefore), 100);
  EXPECT_TRUE(blockStarting(*doc_, "No such style").isValid());
  EXPECT_EQ(textOf(*doc_),
            "Week 3: recall\rOff lead\rRex came back every time.\rCentred\rRing\rNo such style");
}

TEST_F(RtfStyleSheet, WrittenTextCarriesTheStylesLookWithoutAStyleSheet) {
  const QByteArray written = writeAll(*doc_);
  EXPECT_FALSE(written.contains("\\stylesheet"));
  const auto again = readRtf(written);
  const QTextCharFormat h1 = formatOf(*again.doc, QStringLiteral("Week 3"));
  EXPECT_EQ(h1.fontPointSize(), 16.0);
  EXPECT_EQ(h1.foreground().color(), QColor(47, 84, 150));
  EXPECT_GE(formatOf(*again.doc, QStringLiteral("every")).fontWeight(), QFont::Bold);
}

// LibreOffice puts its heading styles in the style sheet and repeats them on the text; both
// give the same look, which survives our writer.
TEST(RtfStyleSheetLibreOffice, HeadingsSpacingAndStrikeSurviveWriting) {
  const auto read = readRtf(readFile(KL_TEST_DATA "/rtf/styles/libreoffice-headings.rtf"));
  ASSERT_TRUE(read.result.ok);
  const auto again = readRtf(writeAll(*read.doc));
  for (const QTextDocument* doc : {read.doc.get(), again.doc.get()}) {
    const QTextCharFormat h1 = formatOf(*doc, QStringLiteral("Week 3"));
    EXPECT_EQ(h1.fontPointSize(), 20.0);
    EXPECT_EQ(h1.foreground().color(), QColor(0x2f, 0x54, 0x96));
    EXPECT_GE(h1.fontWeight(), QFont::Bold);
    const QTextCharFormat h2 = formatOf(*doc, QStringLiteral("Off lead"));
    EXPECT_TRUE(h2.fontItalic());
    EXPECT_EQ(h2.foreground().color(), QColor(0xc0, 0, 0));
    const QTextBlockFormat spaced = blockStarting(*doc, "Rex came back").blockFormat();
    EXPECT_EQ(spaced.intProperty(fmt::BlockSpaceBefore), 240);
    EXPECT_EQ(spaced.intProperty(fmt::BlockSpaceAfter), 360);
    EXPECT_TRUE(formatOf(*doc, QStringLiteral("no one")).fontStrikeOut());
  }
}

}  // namespace
}  // namespace richedit::rtf::test
