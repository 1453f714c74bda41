// The text that RTF fragments give: special characters, Unicode, code pages, destinations that
// are skipped, fields, tables and paragraph breaks.
#include <gtest/gtest.h>

#include "RtfTestSupport.h"

namespace richedit::rtf::test {
namespace {

struct TextCase {
  const char* name;
  QByteArray rtf;
  QString text;
};

void PrintTo(const TextCase& c, std::ostream* os) {
  *os << c.name;
}

class RtfReaderText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfReaderText, GivesTheText) {
  const auto read = readRtf(GetParam().rtf);
  ASSERT_TRUE(read.result.ok) << read.result.error.toStdString();
  EXPECT_EQ(textOf(*read.doc), GetParam().text);
}

QString u16(std::u16string_view s) {
  return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

INSTANTIATE_TEST_SUITE_P(
    Fragments, RtfReaderText,
    ::testing::Values(
        TextCase{"plain", "{\\rtf1 TestSomeText}", "TestSomeText"},
        TextCase{"final par swallowed", "{\\rtf1 TestSomeText\\par}", "TestSomeText"},
        TextCase{"two pars keep one", "{\\rtf1 TestSomeText\\par\\par}", "TestSomeText\r"},
        TextCase{"backslash newline is a par", "{\\rtf1 a\\\nb}", "a\rb"},
        TextCase{"escaped specials", "{\\rtf1 \\{a\\}\\\\}", "{a}\\"},
        TextCase{"space after word eaten", "{\\rtf1\\b  two}", " two"},
        TextCase{"line ends ignored", "{\\rtf1 ab\r\ncd}", "abcd"},
        TextCase{"symbols",
                 "{\\rtf1 \\emspace\\enspace\\bullet\\lquote\\rquote\\ldblquote\\rdblquote"
                 "\\emdash\\endash\\~\\-\\_}",
                 u16(u"  \u2022\u2018\u2019\u201C\u201D\u2014\u2013\u00A0\u00AD\u2011")},
        TextCase{"line and tab", "{\\rtf1 a\\line b\\tab c}", u16(u"a\u2028b\tc")},
        TextCase{"unicode skips one fallback", "{\\rtf1 \\u8364?x}", u16(u"\u20ACx")},
        TextCase{"unicode fallback as hex", "{\\rtf1 \\u8220\\'93x}", u16(u"\u201Cx")},
        TextCase{"uc2 skips two", "{\\rtf1\\uc2 \\u-3913ab c}", u16(u"\uF0B7 c")},
        TextCase{"uc0 skips none", "{\\rtf1\\uc0 \\u233 e}", u16(u"\u00E9e")},
        TextCase{"negative unicode", "{\\rtf1 \\u-200?}", u16(u"\uFF38")},
        TextCase{"surrogate pair", "{\\rtf1 \\u-10179?\\u-8704?}", u16(u"\U0001F600")},
        TextCase{"fallback ends at group", "{\\rtf1\\uc3 {\\u233 a}bc}", u16(u"\u00E9bc")},
        TextCase{"cp1252 hex", "{\\rtf1\\ansi\\ansicpg1252 caf\\'e9 \\'80}",
                 u16(u"caf\u00E9 \u20AC")},
        TextCase{"ansicpg 1251", "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}", u16(u"\u0410\u0431")},
        TextCase{"font charset 161",
                 "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset161 Arial Greek;}}\\f1 \\'e1\\f0 "
                 "\\'e1}",
                 u16(u"\u03B1\u00E1")},
        TextCase{"double byte shift-jis",
                 "{\\rtf1{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0 \\'82\\'a0\\'82\\'a2}",
                 u16(u"\u3042\u3044")},
        TextCase{"double byte gbk",
                 "{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'c4\\'e3\\'ba\\'c3}",
                 u16(u"\u4F60\u597D")},
        TextCase{"mac roman", "{\\rtf1\\mac \\'8e}", u16(u"\u00E9")},
        TextCase{"nul reads as space", QByteArray("{\\rtf1 a\0b}", 11), "a b"},
        TextCase{
            "pntext not inserted",
            "{\\rtf1{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}Item\\par}",
            "Item"},
        TextCase{"listtext not inserted", "{\\rtf1{\\listtext 1.\\tab}Item\\par}", "Item"},
        TextCase{"ignorable unknown skipped", "{\\rtf1 a{\\*\\unknownthing b}c}", "ac"},
        TextCase{"unknown word alone dropped", "{\\rtf1 a\\madeupword12 b}", "ab"},
        TextCase{"skipped tables",
                 "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{"
                 "Normal;}}{\\info{\\title T}}x}",
                 "x"},
        TextCase{"headers and footnotes skipped",
                 "{\\rtf1{\\header H}{\\footer F}a{\\footnote N}b}", "ab"},
        TextCase{"hyperlink result",
                 "{\\rtf1{\\field{\\*\\fldinst{HYPERLINK \"http://x.org\"}}{\\fldrslt{site}}}}",
                 "site"},
        TextCase{"other field result", "{\\rtf1{\\field{\\*\\fldinst PAGE}{\\fldrslt 3}}}", "3"},
        TextCase{"table cells",
                 "{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row"
                 "\\trowd\\cellx1000\\cellx2000\\pard\\intbl c\\cell\\cell\\row}",
                 "a\tb\rc\t"},
        TextCase{"binary in skipped group", "{\\rtf1 a{\\*\\blob\\bin3 }}}}b}", "ab"},
        TextCase{"word shape picture fallback skipped",
                 "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 "
                 "00}}b}",
                 u16(u"a\uFFFCb")},
        TextCase{"object result only when objects are kept", "{\\rtf1 {\\object{\\result R}}}",
                 u16(u"\uFFFC")},
        TextCase{"page break between paragraphs", "{\\rtf1 a\\par\\page b}", "a\rb"},
        TextCase{"page break inside text", "{\\rtf1 a\\page b}", "a\rb"}));

TEST(RtfReader, RejectsDataThatIsNotRtf) {
  for (const QByteArray& data : {QByteArray("plain text"), QByteArray(""), QByteArray("{\\rt")}) {
    const auto read = readRtf(data);
    EXPECT_FALSE(read.result.ok);
    EXPECT_FALSE(read.result.error.isEmpty());
    EXPECT_TRUE(read.doc->isEmpty());
  }
}

TEST(RtfReader, InsertsAtTheCursorInsideExistingText) {
  QTextDocument doc;
  QTextCursor cursor(&doc);
  cursor.insertText("abcdef");
  cursor.setPosition(3);
  ASSERT_TRUE(RtfReader().read("{\\rtf1 X\\par Y}", cursor).ok);
  EXPECT_EQ(textOf(doc), "abcX\rYdef");
}

TEST(RtfReader, ObjectsReadAsTheirResultWhenNotAllowed) {
  ReadOptions options;
  options.allowObjects = false;
  const auto read = readRtf("{\\rtf1 {\\object\\objw100{\\*\\objdata 0102}{\\result R}}}", options);
  EXPECT_EQ(textOf(*read.doc), "R");
}

}  // namespace
}  // namespace richedit::rtf::test
