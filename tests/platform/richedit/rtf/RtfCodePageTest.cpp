// Code pages in RTF: the document's and each font's, double-byte text whose trail bytes look
// like RTF syntax, the Mac pages, symbol fonts read as private-use characters and written back.
#include <gtest/gtest.h>

#include "RtfTestSupport.h"

namespace richedit::rtf::test {
namespace {

QString u16(std::u16string_view s) {
  return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

TEST(RtfCodePage, TextReadsInTheRightPage) {
  struct Case {
    const char* name;
    QByteArray rtf;
    QString text;
  };
  const QByteArray gothic = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Gothic;}}\\f0 ";
  const Case cases[] = {
      // Word writes the lead byte as \'hh and a printable trail byte as it is, '{' included.
      {"trail bytes that look like syntax",
       gothic + "\\'84M\\'84p\\'84\\'82\\'84{\\'84u\\'84\\'82\\'84\\'8d}",
       u16(u"\u041C\u0430\u0440\u043A\u0435\u0440\u044B")},
      {"trail backslash as it is", gothic + "\\'83\\x\\'95\\}", u16(u"\u30BDx\u6276")},
      {"trail backslash escaped or in hex", gothic + "\\'83\\\\\\'83\\'5c}", u16(u"\u30BD\u30BD")},
      {"closing brace after a whole character", gothic + "\\'83\\'5c}x", u16(u"\u30BD")},
      {"raw double-byte text", gothic + "\x93\xfa\x96{}", u16(u"\u65E5\u672C")},
      {"font code page by cpg", "{\\rtf1{\\fonttbl{\\f0\\cpg1251 Arial;}}\\f0 \\'c0\\'e1}",
       u16(u"\u0410\u0431")},
      {"font charset over the document's page",
       "{\\rtf1\\ansicpg1251{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset238 Arial;}}"
       "\\f0\\'c0\\f1\\'b9}",
       u16(u"\u0410\u0105")},
      {"mac japanese document", "{\\rtf1\\mac\\ansicpg10001 \\'93\\'fa\\'96{\\'8c\\'ea}",
       u16(u"\u65E5\u672C\u8A9E")},
      {"mac japanese font", "{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset78 Osaka;}}\\f0 \\'82\\'a0}",
       u16(u"\u3042")},
      {"mac cyrillic", "{\\rtf1\\mac\\ansicpg10007 \\'80\\'e0}", u16(u"\u0410\u0430")},
      {"mac greek", "{\\rtf1\\mac\\ansicpg10006 \\'e1}", u16(u"\u03B1")},
      {"unknown page reads as windows-1252", "{\\rtf1\\ansi\\ansicpg77777 caf\\'e9\\'80}",
       u16(u"caf\u00E9\u20AC")},
      {"symbol font text is private use",
       "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\f1 a\\'b7\\f0 a}",
       u16(u"\uF061\uF0B7a")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto read = readRtf(c.rtf);
    ASSERT_TRUE(read.result.ok);
    EXPECT_EQ(textOf(*read.doc), c.text);
  }
}

TEST(RtfCodePage, MacJapaneseAndFarEastSamplesReadToTheirText) {
  const auto mac = readRtf(readFile(KL_TEST_DATA "/rtf/codepages/mac-japanese.rtf"));
  EXPECT_EQ(textOf(*mac.doc), u16(u"\u72AC\u306E\u8A13\u7DF4\u65E5\u8A18\r"
                                  u"\u30DD\u30C1\u306F\u300C\u5F85\u3066\u300D\u3092"
                                  u"\u899A\u3048\u305F\u3002"));
  const auto farEast = readRtf(readFile(KL_TEST_DATA "/rtf/codepages/far-east.rtf"));
  EXPECT_EQ(textOf(*farEast.doc),
            u16(u"\u30DE\u30FC\u30AB\u30FC\u300C\u30BD\u8868\u300D\r"
                u"\u4E2D\u6587\u8BAD\u7EC3\r\u72D7\u72D7\u8A13\u7DF4\r"
                u"\uAC15\uC544\uC9C0 \uD6C8\uB828\r\u041C\u0430\u0440\u043A\u0435\u0440\u044B"));
}

TEST(RtfCodePage, SymbolFontKeepsItsNameAndWritesItsBytesBack) {
  const auto read =
      readRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}\\f1 a\\'b7\\f0 b}");
  EXPECT_EQ(charFormatAt(*read.doc, 0).fontFamilies().toStringList().value(0), u"Symbol");
  const QByteArray written = writeAll(*read.doc);
  EXPECT_TRUE(written.contains("\\fcharset2 Symbol;")) << written.constData();
  EXPECT_TRUE(written.contains("\\'61\\'b7")) << written.constData();
  EXPECT_EQ(textOf(*readRtf(written).doc), u16(u"\uF061\uF0B7b"));
}

TEST(RtfCodePage, SymbolDefaultFontLeavesTablesReadable) {
  const auto read = readRtf(
      "{\\rtf1\\deff0{\\fonttbl{\\f0\\fcharset2 Symbol;}{\\f1 Arial;}}"
      "{\\colortbl;\\red255\\green0\\blue0;}\\cf1 a\\f1 b}");
  EXPECT_EQ(textOf(*read.doc), u16(u"\uF061b"));
  EXPECT_EQ(charFormatAt(*read.doc, 1).foreground().color(), QColor(255, 0, 0));
}

TEST(RtfCodePage, FarEastTextSurvivesWritingAndReading) {
  const auto read = readRtf("{\\rtf1\\mac\\ansicpg10001 \\'93\\'fa\\'96{\\'83\\\\}");
  const QString text = textOf(*read.doc);
  ASSERT_EQ(text, u16(u"\u65E5\u672C\u30BD"));
  EXPECT_EQ(textOf(*readRtf(writeAll(*read.doc)).doc), text);
}

}  // namespace
}  // namespace richedit::rtf::test
