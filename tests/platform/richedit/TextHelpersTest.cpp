// Address detection, text decoding and numbering labels: the small pieces the control's
// answers are built from.

#include <gtest/gtest.h>

#include "platform/richedit/TextConversion.h"
#include "platform/richedit/UrlDetector.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit::test {
namespace {

TEST(UrlDetectorTest, FindsAddressesThatStartAWord) {
  struct Case {
    const char* text;
    std::vector<std::pair<int, int>> spans;  // start, length
  };
  const Case cases[] = {
      {"see http://a.org/x now", {{4, 14}}},
      {"HTTPS://Example.com.", {{0, 19}}},  // the full stop ends the sentence
      {"(www.kennel.org)", {{1, 14}}},
      {"mail mailto:me@dog.net, ftp://f.net", {{5, 17}, {24, 11}}},
      {"awww.no and http://", {}},  // inside a word; a prefix alone
      {"plain text", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::vector<std::pair<int, int>> got;
    for (const TextSpan& s : findUrls(QString::fromUtf8(c.text)))
      got.push_back({s.start, s.length});
    EXPECT_EQ(got, c.spans);
  }
}

TEST(TextConversionTest, BytesDecodeAsUtf8OrWindows1252) {
  const std::pair<QByteArray, QString> cases[] = {
      {"plain", QStringLiteral("plain")},
      {"\xEF\xBB\xBF\xC3\xA9t\xC3\xA9", QStringLiteral("\u00E9t\u00E9")},
      {"\xE9t\xE9", QStringLiteral("\u00E9t\u00E9")},          // not UTF-8: Windows-1252
      {"\x80 \x9C", QStringLiteral("\u20AC \u0153")},          // the code page's own letters
      {"\xC0\xAF", QStringLiteral("\u00C0\u00AF")},            // an overlong form is not UTF-8
      {"\xED\xA0\x80", QStringLiteral("\u00ED\u00A0\u20AC")},  // nor is a lone surrogate
  };
  for (const auto& [bytes, want] : cases)
    EXPECT_EQ(decodeText(bytes), want) << bytes.toHex().constData();
}

TEST(TextConversionTest, BreaksBothWays) {
  EXPECT_EQ(fromControlText(QStringLiteral("a\r\nb\rc\nd\ve")),
            QStringLiteral("a\u2029b\u2029c\u2029d\u2028e"));
  EXPECT_EQ(fromControlText(QStringLiteral("x\r\r\ny")), QStringLiteral("x y"));
  EXPECT_EQ(toControlText(QStringLiteral("a\u2029b\u2028c")), QStringLiteral("a\rb\vc"));
  EXPECT_EQ(withCrLf(QStringLiteral("a\rb")), QStringLiteral("a\r\nb"));
}

TEST(NumberingLabelTest, LabelsOfEachKindAndStyle) {
  struct Case {
    int kind, number, style;
    const char* want;
  };
  const Case cases[] = {
      {1, 5, 0, "\u2022"},
      {2, 3, fmt::NumberingPeriod, "3."},
      {2, 3, 0, "3)"},
      {2, 12, fmt::NumberingParens, "(12)"},
      {3, 28, fmt::NumberingPlain, "ab"},
      {4, 2, fmt::NumberingPeriod, "B."},
      {5, 14, fmt::NumberingPeriod, "xiv."},
      {6, 1994, fmt::NumberingPlain, "MCMXCIV"},
      {2, 4, fmt::NumberingNoNumber, ""},
      {9, 1, 0, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fmt::numberingLabel(c.kind, c.number, c.style), QString::fromUtf8(c.want))
        << c.kind << " " << c.number;
  }
}

}  // namespace
}  // namespace richedit::test
