// The writer: a complete RTF document, text escaped for code page 1252 and Unicode, and every
// attribute the document holds coming back when the stream is read again.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <functional>

#include "RtfTestSupport.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/rtf/RtfWriter.h"

namespace richedit::rtf::test {
namespace {

using namespace richedit::fmt;

QByteArray writeText(const QString& text, const QTextCharFormat& format = {}) {
  QTextDocument doc;
  QTextCursor(&doc).insertText(text, format);
  return writeAll(doc);
}

TEST(RtfWriter, WritesACompleteDocument) {
  QTextCharFormat red;
  red.setForeground(QColor(255, 0, 0));
  red.setFontFamilies({"Arial"});
  const QByteArray rtf = writeText("Hi", red);
  EXPECT_TRUE(
      rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil"
                     "\\fcharset0 Arial;}}{\\colortbl ;\\red255\\green0\\blue0;}"))
      << rtf.toStdString();
  EXPECT_TRUE(rtf.contains("\\viewkind4\\uc1"));
  EXPECT_TRUE(rtf.contains("\\cf1 Hi\\par"));
  EXPECT_TRUE(rtf.endsWith("}\r\n"));
}

TEST(RtfWriter, EscapesTextForTheStream) {
  struct Case {
    QString text;
    QByteArray written;
  } cases[] = {
      {"{a}\\b", "{a\\}\\\\b"},  // the leading brace is escaped too; checked on its own below
      {QString::fromUtf16(u"caf\u00e9 \u20ac"), "caf\\'e9 \\'80"},
      {QString::fromUtf16(u"\u0416x"), "\\u1046?x"},
      {QString::fromUtf16(u"\U0001F600"), "\\u-10179?\\u-8704?"},
      {QString::fromUtf16(u"a\tb\u2028c\u00a0d"), "a\\tab b\\line c\\~d"},
      {"\\b0", "\\\\b0"},
  };
  for (const auto& c : cases) {
    const QByteArray rtf = writeText(c.text);
    EXPECT_TRUE(rtf.contains(c.written)) << rtf.toStdString();
    EXPECT_EQ(textOf(*readRtf(rtf).doc), c.text) << rtf.toStdString();
  }
  EXPECT_TRUE(writeText("{").contains("\\{"));
}

TEST(RtfWriter, FontsOutsideTheAnsiPageGetUnicodeOnly) {
  QTextCharFormat greek;
  greek.setFontFamilies({"Arial Greek"});
  greek.setProperty(CharCharset, 161);
  const QString text = QString::fromUtf16(u"\u00e9\u03b1");
  const QByteArray rtf = writeText(text, greek);
  EXPECT_TRUE(rtf.contains("\\fcharset161 Arial Greek;"));
  EXPECT_TRUE(rtf.contains("\\u233?\\u945?")) << rtf.toStdString();
  EXPECT_EQ(textOf(*readRtf(rtf).doc), text);
}

struct CharCase {
  const char* name;
  std::function<void(QTextCharFormat&)> set;
  std::function<bool(const QTextCharFormat&)> holds;
};

TEST(RtfWriter, CharacterAttributesComeBack) {
  const CharCase cases[] = {
      {"face", [](auto& f) { f.setFontFamilies({"Courier New"}); },
       [](const auto& f) { return f.fontFamilies().toStringList() == QStringList{"Courier New"}; }},
      {"size", [](auto& f) { f.setFontPointSize(15.5); },
       [](const auto& f) { return f.fontPointSize() == 15.5; }},
      {"bold", [](auto& f) { f.setFontWeight(QFont::Bold); },
       [](const auto& f) { return f.fontWeight() >= QFont::Bold; }},
      {"italic", [](auto& f) { f.setFontItalic(true); },
       [](const auto& f) { return f.fontItalic(); }},
      {"underline", [](auto& f) { f.setFontUnderline(true); },
       [](const auto& f) { return f.fontUnderline(); }},
      {"strike", [](auto& f) { f.setFontStrikeOut(true); },
       [](const auto& f) { return f.fontStrikeOut(); }},
      {"colour", [](auto& f) { f.setForeground(QColor(1, 2, 3)); },
       [](const auto& f) { return f.foreground().color() == QColor(1, 2, 3); }},
      {"protected", [](auto& f) { f.setProperty(CharProtected, true); },
       [](const auto& f) { return f.boolProperty(CharProtected); }},
      {"hidden", [](auto& f) { f.setProperty(CharHidden, true); },
       [](const auto& f) { return f.boolProperty(CharHidden); }},
      {"superscript", [](auto& f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); },
       [](const auto& f) { return f.verticalAlignment() == QTextCharFormat::AlignSuperScript; }},
      {"link",
       [](auto& f) {
         f.setAnchor(true);
         f.setAnchorHref("https://example.org/?q=\"x\"");
       },
       [](const auto& f) {
         return f.isAnchor() && f.anchorHref() == "https://example.org/?q=%22x%22";
       }},
  };
  for (const auto& c : cases) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText("a");
    QTextCharFormat f;
    c.set(f);
    cursor.insertText("X", f);
    cursor.insertText("b", QTextCharFormat());
    const auto read = readRtf(writeAll(doc));
    EXPECT_EQ(textOf(*read.doc), "aXb") << c.name;
    EXPECT_TRUE(c.holds(charFormatAt(*read.doc, 1))) << c.name << "\n"
                                                     << writeAll(doc).toStdString();
    EXPECT_FALSE(c.holds(charFormatAt(*read.doc, 2))) << c.name << " leaks into the next run";
  }
}

TEST(RtfWriter, ParagraphAttributesComeBack) {
  QTextDocument doc;
  QTextCursor cursor(&doc);
  QTextBlockFormat first;
  first.setAlignment(Qt::AlignHCenter);
  first.setProperty(BlockStartIndent, 300);
  first.setProperty(BlockOffset, -100);
  first.setProperty(BlockRightIndent, 40);
  first.setProperty(BlockTabs, QVariant::fromValue(QList<int>{500, 1000}));
  first.setProperty(BlockRtl, true);
  cursor.setBlockFormat(first);
  cursor.insertText("one");
  QTextBlockFormat numbered;
  numbered.setAlignment(Qt::AlignRight);
  numbered.setProperty(BlockNumbering, PFN_LCROMAN);
  numbered.setProperty(BlockNumberingStart, 4);
  numbered.setProperty(BlockNumberingStyle, NumberingParens);
  numbered.setProperty(BlockStartIndent, 0);
  numbered.setProperty(BlockOffset, 360);
  cursor.insertBlock(numbered);
  cursor.insertText("two");
  cursor.insertBlock(numbered);
  cursor.insertText("three");

  const QByteArray rtf = writeAll(doc);
  EXPECT_TRUE(rtf.contains("{\\pntext\\f0 (iv)\\tab}")) << rtf.toStdString();
  EXPECT_TRUE(rtf.contains("{\\pntext\\f0 (v)\\tab}three\\par"));
  const auto read = readRtf(rtf);
  ASSERT_EQ(textOf(*read.doc), "one\rtwo\rthree");
  const QTextBlockFormat b0 = read.doc->begin().blockFormat();
  EXPECT_EQ(b0.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(b0.intProperty(BlockStartIndent), 300);
  EXPECT_EQ(b0.intProperty(BlockOffset), -100);
  EXPECT_EQ(b0.intProperty(BlockRightIndent), 40);
  EXPECT_EQ(b0.property(BlockTabs).value<QList<int>>(), (QList<int>{500, 1000}));
  EXPECT_TRUE(b0.boolProperty(BlockRtl));
  // The last paragraph keeps its properties too: the whole document ends with a \par.
  const QTextBlockFormat b2 = read.doc->lastBlock().blockFormat();
  EXPECT_EQ(b2.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
  EXPECT_EQ(b2.intProperty(BlockNumbering), PFN_LCROMAN);
  EXPECT_EQ(b2.intProperty(BlockNumberingStart), 4);
  EXPECT_EQ(b2.intProperty(BlockNumberingStyle), NumberingParens);
  EXPECT_EQ(b2.intProperty(BlockOffset), 360);
}

TEST(RtfWriter, BulletsUseTheSymbolFont) {
  QTextDocument doc;
  QTextBlockFormat bullet;
  bullet.setProperty(BlockNumbering, PFN_BULLET);
  bullet.setProperty(BlockStartIndent, 0);
  bullet.setProperty(BlockOffset, 360);
  QTextCursor cursor(&doc);
  cursor.setBlockFormat(bullet);
  cursor.insertText("dog");
  const QByteArray rtf = writeAll(doc);
  EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset2 Symbol;}")) << rtf.toStdString();
  EXPECT_TRUE(
      rtf.contains("\\pard{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{"
                   "\\pntxtb\\'b7}}\\fi-360\\li360"));
}

int parCount(const QByteArray& rtf) {
  return int(rtf.count("\\par\r\n"));
}

TEST(RtfWriter, RangesAndParagraphMarks) {
  QTextDocument doc;
  QTextCursor(&doc).insertText("TestSomeText");
  EXPECT_EQ(parCount(writeAll(doc)), 1);  // the whole document ends with its \par

  QTextDocument two;
  two.setPlainText("abc\ndef");
  RtfWriter writer;
  EXPECT_EQ(parCount(writer.write(two, 0, 3)), 0);
  EXPECT_EQ(parCount(writer.write(two, 0, 4)), 1);
  EXPECT_EQ(parCount(writeAll(two)), 2);
  EXPECT_EQ(textOf(*readRtf(writer.write(two, 1, 6)).doc), "bc\rde");
  EXPECT_EQ(textOf(*readRtf(writer.write(two, 5, 5)).doc), "");
}

TEST(RtfWriter, EmptyDocumentStillGivesAValidStream) {
  QTextDocument doc;
  const QByteArray rtf = writeAll(doc);
  const auto read = readRtf(rtf);
  EXPECT_TRUE(read.result.ok);
  EXPECT_TRUE(read.doc->isEmpty());
  EXPECT_EQ(rtf.count('{'), rtf.count('}'));
}

}  // namespace
}  // namespace richedit::rtf::test
