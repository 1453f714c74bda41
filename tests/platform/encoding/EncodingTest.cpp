// Bytes to text and back: UTF-8 checks, Windows-1252 and the code pages word processors write.

#include <gtest/gtest.h>

#include <QString>

#include "platform/encoding/CodePages.h"
#include "platform/encoding/Utf8.h"
#include "platform/encoding/Windows1252.h"

namespace textenc {
namespace {

QString decoded(int codePage, std::string_view bytes) {
  QString out;
  decodeCodePage(codePage, bytes, out);
  return out;
}

TEST(Utf8Test, Validity) {
  struct Case {
    QByteArray bytes;
    bool valid;
  };
  const Case cases[] = {
      {"plain", true},         {"\xC3\xA9", true},          {"\xF0\x9F\x90\xB6", true},
      {"\xC3", false},         {"\xC0\xAF", false},         {"\xE0\x80\xAF", false},
      {"\xED\xA0\x80", false}, {"\xF4\x90\x80\x80", false}, {"\xE9t\xE9", false},
      {"\x80", false},
  };
  for (const Case& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes.toHex().data();
}

TEST(Utf8Test, NotUtf8ReadsAsWindows1252AndPrefixesKeepCharactersWhole) {
  EXPECT_EQ(decodeUtf8OrWindows1252("\xC3\xA9t\xC3\xA9"), QStringLiteral("\u00E9t\u00E9"));
  EXPECT_EQ(decodeUtf8OrWindows1252("\xE9t\xE9\x80"), QStringLiteral("\u00E9t\u00E9\u20AC"));
  EXPECT_EQ(decodeUtf8OrWindows1252("\xEF\xBB\xBFx"), QStringLiteral("\uFEFFx"));
  EXPECT_EQ(utf8PrefixLength("ab\xC3\xA9", 3), 2u);
  EXPECT_EQ(utf8PrefixLength("ab\xC3\xA9", 9), 4u);
}

TEST(Windows1252Test, EveryByteComesBackAsItWent) {
  for (int b = 0; b < 256; ++b) {
    const char byte = char(b);
    const QString text = decodeWindows1252(QByteArrayView(&byte, 1));
    ASSERT_EQ(text.size(), 1);
    EXPECT_EQ(windows1252Byte(text.at(0).unicode()), b) << b;
  }
  EXPECT_EQ(decodeWindows1252("\x80\x8D\x9F"), QStringLiteral("\u20AC\u008D\u0178"));
  EXPECT_EQ(windows1252Byte(u'\u0153'), 0x9C);
  EXPECT_EQ(windows1252Byte(u'\u0416'), -1);
}

TEST(CodePagesTest, PagesDecodeToTheirLetters) {
  struct Case {
    int codePage;
    std::string_view bytes;
    const char16_t* want;
  };
  const Case cases[] = {
      {1252, "caf\xE9 \x80", u"caf\u00E9 \u20AC"},
      {1251, "\xCC\xE0\xF0\xEA\xE5\xF0\xFB", u"\u041C\u0430\u0440\u043A\u0435\u0440\u044B"},
      {1253, "\xE1\xE2", u"\u03B1\u03B2"},
      {10000, "\x8E\x80", u"\u00E9\u00C4"},                          // Mac Roman
      {10006, "\xE1\xE2", u"\u03B1\u03B2"},                          // Mac Greek, our table
      {10081, "\xDA\xDD", u"\u011E\u0131"},                          // Mac Turkish, our table
      {10007, "\x80\xE0", u"\u0410\u0430"},                          // Mac Cyrillic
      {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"},                    // Shift-JIS
      {10001, "\x93\xFA\x96\x7B\x80\xFD", u"\u65E5\u672C\\\u00A9"},  // the Mac's own bytes
      {936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},                    // GBK
      {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},                    // Big Five
      {949, "\xC7\xD1\xB1\xDB", u"\uD55C\uAE00"},                    // Korean
      {99999, "caf\xE9", u"caf\u00E9"},                              // unknown: Windows-1252
      {kSymbolCodePage, "a\xB7", u"\uF061\uF0B7"},                   // Symbol: private use
      {932, std::string_view("a\0b", 3), u"a b"},                    // NUL reads as a space
      {932, "x\x93", u"x\u0093"},                                    // a lead byte alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.codePage);
    EXPECT_EQ(decoded(c.codePage, c.bytes), QString::fromUtf16(c.want));
  }
}

TEST(CodePagesTest, LeadBytesAndCharsets) {
  EXPECT_TRUE(isLeadByte(932, 0x84));
  EXPECT_FALSE(isLeadByte(932, 0xA4));  // a half-width katakana stands alone
  EXPECT_TRUE(isLeadByte(10001, 0x93));
  EXPECT_FALSE(isLeadByte(1252, 0x93));
  EXPECT_TRUE(isDoubleByteCodePage(10001));
  EXPECT_FALSE(isDoubleByteCodePage(10000));
  EXPECT_EQ(codePageOfCharset(128), 932);
  EXPECT_EQ(codePageOfCharset(78), 10001);
  EXPECT_EQ(codePageOfCharset(0), 0);
  EXPECT_EQ(charsetOfCodePage(1251), 204);
  EXPECT_EQ(symbolByte(0xF0B7), 0xB7);
  EXPECT_EQ(symbolByte(0x00B7), -1);
}

}  // namespace
}  // namespace textenc
