// One save never changes a document: reading what the writer made of a stream gives the same
// text, and writing that again gives the same bytes (so the same formatting). Each case is a
// stream that once changed on saving.
#include <gtest/gtest.h>

#include "RtfTestSupport.h"

namespace richedit::rtf::test {
namespace {

struct RoundTripCase {
  const char* name;
  QByteArray rtf;
  QString text;  // what the first reading gives
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
  *os << c.name;
}

class RtfRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RtfRoundTrip, OneSaveChangesNothing) {
  const auto first = readRtf(GetParam().rtf);
  ASSERT_TRUE(first.result.ok);
  EXPECT_EQ(textOf(*first.doc), GetParam().text);
  const QByteArray saved = writeAll(*first.doc);
  const auto second = readRtf(saved);
  EXPECT_EQ(textOf(*second.doc), textOf(*first.doc)) << saved.toStdString();
  EXPECT_EQ(writeAll(*second.doc), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, RtfRoundTrip,
    ::testing::Values(
        RoundTripCase{"control character", "{\\rtf1 a\\'0cb\\'01}",
                      QString::fromUtf16(u"a\fb\u0001")},
        RoundTripCase{
            "font charset outside the font table",
            "{\\rtf1{\\fcharset128\\froman\\fprq2}{\\fonttbl{\\f0 Arial;}}\\f0 \\'82\\'a0}",
            QString::fromUtf16(u"\u201A\u00A0")},
        RoundTripCase{"link to an empty place",
                      "{\\rtf1{\\field{\\*\\fldinst{HYPERLINK #}}{\\fldrslt{\\b y}}}}", "y"}));

}  // namespace
}  // namespace richedit::rtf::test
