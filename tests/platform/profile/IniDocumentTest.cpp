// The profile file's layout: where writes land, what reads see, how values and numbers read.
#include <gtest/gtest.h>

#include <QString>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/profile/IniDocument.h"
#include "platform/profile/IniEncoding.h"
#include "platform/profile/IniValue.h"

namespace profile {
namespace {

// Test texts are written with "\n"; the file has CR LF.
QByteArray Crlf(const std::string& text) {
  return QByteArray::fromStdString(text).replace("\n", "\r\n");
}

std::string Lf(const QByteArray& bytes) {
  return QByteArray(bytes).replace("\r\n", "\n").toStdString();
}

struct Write {
  const char* section;
  const char* key;
  const char* value;
};

struct LayoutCase {
  const char* name;
  std::string before;
  std::vector<Write> writes;
  std::string after;
};

class IniLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(IniLayout, WritesLandWhereTheCommonLayoutPutsThem) {
  const LayoutCase& c = GetParam();
  IniDocument document = IniDocument::Parse(Crlf(c.before));
  for (const Write& w : c.writes) document.SetValue(w.section, w.key, w.value);
  EXPECT_EQ(Lf(document.Serialize()), c.after);
  EXPECT_EQ(document.Serialize(), Crlf(c.after)) << "every line ends in CR LF";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniLayout,
    ::testing::Values(
        LayoutCase{"ReplaceInPlace",
                   "[Journal]\n2=Sit\nCount=2\n3=Down\n",
                   {{"Journal", "2", "Stay"}},
                   "[Journal]\n2=Stay\nCount=2\n3=Down\n"},
        LayoutCase{"NewKeyAtEndOfItsSection",
                   "[Journal]\n2=Sit\n[Entries]\n2=/j/a.klb\n",
                   {{"Journal", "3", "Down"}},
                   "[Journal]\n2=Sit\n3=Down\n[Entries]\n2=/j/a.klb\n"},
        LayoutCase{"NewKeyBeforeTrailingBlankLines",
                   "[A]\nx=1\n\n[B]\ny=2\n",
                   {{"A", "z", "3"}},
                   "[A]\nx=1\nz=3\n\n[B]\ny=2\n"},
        LayoutCase{"NewKeyInEmptySection",
                   "[Journal]\n[Entries]\n",
                   {{"Journal", "2", "Sit"}},
                   "[Journal]\n2=Sit\n[Entries]\n"},
        LayoutCase{"MissingSectionAtEndOfFile",
                   "[Journal]\n2=Sit\n",
                   {{"Entries", "2", "/j/a.klb"}},
                   "[Journal]\n2=Sit\n[Entries]\n2=/j/a.klb\n"},
        LayoutCase{"FirstEntryOfNewJournal",
                   "",
                   {{"Journal", "2", "Sit and stay"},
                    {"Entries", "2", "/j/1.klb"},
                    {"Journal", "Count", "2"},
                    {"Journal", "3", "Recall at the park"},
                    {"Entries", "3", "/j/2.klb"},
                    {"Journal", "Count", "3"}},
                   "[Journal]\n2=Sit and stay\nCount=3\n3=Recall at the park\n[Entries]\n"
                   "2=/j/1.klb\n3=/j/2.klb\n"},
        LayoutCase{"NamesWithoutLetterCase",
                   "[JOURNAL]\nCOUNT=7\n",
                   {{"journal", "count", "8"}},
                   "[JOURNAL]\nCOUNT=8\n"},
        LayoutCase{"CommentsAndBlankLinesKept",
                   "; kept\n\n[Journal]\n; titles\n2=Sit\n\n",
                   {{"Journal", "3", "Down"}},
                   "; kept\n\n[Journal]\n; titles\n2=Sit\n3=Down\n\n"},
        LayoutCase{"FirstOfDuplicateSections",
                   "[A]\nx=1\n[B]\n[A]\ny=2\n",
                   {{"A", "x", "9"}, {"A", "z", "3"}},
                   "[A]\nx=9\nz=3\n[B]\n[A]\ny=2\n"},
        LayoutCase{"ValuesThatNeedQuotes",
                   "",
                   {{"J", "2", "  Sit  "}, {"J", "3", "\"Good boy\""}, {"J", "4", "line\r\nbreak"}},
                   "[J]\n2=\"  Sit  \"\n3=\"\"Good boy\"\"\n4=line break\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReadCase {
  const char* name;
  std::string text;
  const char* section;
  const char* key;
  std::optional<std::string> value;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, ReadsFollowTheCommonConventions) {
  const ReadCase& c = GetParam();
  const std::optional<QString> value = IniDocument::Parse(Crlf(c.text)).Value(c.section, c.key);
  ASSERT_EQ(value.has_value(), c.value.has_value());
  if (value) {
    EXPECT_EQ(value->toStdString(), *c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"Plain", "[J]\n2=Sit\n", "J", "2", "Sit"},
        ReadCase{"BlanksAroundEquals", "[J]\n 2 =  Sit  \n", "J", "2", "Sit"},
        ReadCase{"OnePairOfQuotesRemoved", "[J]\n2=\"Sit\"\n3='Down'\n4=\"a'\n", "J", "3", "Down"},
        ReadCase{"MismatchedQuotesStay", "[J]\n4=\"a'\n", "J", "4", "\"a'"},
        ReadCase{"EqualsInValue", "[E]\n2=a=b\n", "E", "2", "a=b"},
        ReadCase{"EmptyValue", "[J]\n2=\n", "J", "2", ""},
        ReadCase{"CaseOfNames", "[jOuRnAl]\ncOUNT=7\n", "Journal", "Count", "7"},
        ReadCase{"FirstKeyWins", "[J]\n2=first\n2=second\n", "J", "2", "first"},
        ReadCase{"SectionWithoutBracket", "[J\n2=Sit\n", "J", "2", "Sit"},
        ReadCase{"KeyBeforeAnySection", "2=Sit\n[J]\n", "J", "2", std::nullopt},
        ReadCase{"CommentIsNoKey", "[J]\n;2=Sit\n", "J", "2", std::nullopt},
        ReadCase{"KeyOfOtherSection", "[J]\n[E]\n2=Sit\n", "J", "2", std::nullopt},
        ReadCase{"SecondSectionOfSameName", "[J]\n[E]\n[J]\n2=Sit\n", "J", "2", std::nullopt},
        ReadCase{"LoneLf", "[J]\n2=Sit", "J", "2", "Sit"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniDocument, KeyNamesInFileOrderOnceEach) {
  const IniDocument document = IniDocument::Parse(Crlf(
      "[Journal]\n5=e\nCount=7\n; note\n2=b\nabc=x\n5=again\n-3=y\nnoequals\n[Entries]\n9=z\n"));
  const QStringList expected = {"5", "Count", "2", "abc", "-3"};
  EXPECT_EQ(document.KeyNames("journal"), expected);
  EXPECT_TRUE(document.KeyNames("Missing").isEmpty());
}

TEST(IniDocument, QuotedValuesReadBackExactly) {
  for (const char* value : {" Sit", "Sit ", "\"Good boy\"", "'a'", "\"", "\"\"", "a\"b", "", "x=y",
                            "; not a comment", "[not a section]"}) {
    IniDocument document;
    document.SetValue("J", "2", value);
    const IniDocument reread = IniDocument::Parse(document.Serialize());
    EXPECT_EQ(reread.Value("J", "2").value_or("<missing>").toStdString(), value);
  }
}

TEST(IniDocument, NamesThatCannotStandInALineAreRefused) {
  IniDocument document;
  for (const char* key : {"", "a=b", ";c", "[d", "e\nf", " g"}) {
    EXPECT_THROW(document.SetValue("J", key, "v"), std::invalid_argument) << key;
  }
  for (const char* section : {"", "a]b", "c\rd"}) {
    EXPECT_THROW(document.SetValue(section, "k", "v"), std::invalid_argument) << section;
  }
  EXPECT_TRUE(document.Lines().empty()) << "a refused write changes nothing";
}

TEST(IniEncoding, LinesThatAreNotUtf8ReadAsWindows1252) {
  // One line in Windows-1252 (as the original platform wrote it), one in UTF-8, after a BOM.
  const QByteArray bytes =
      "\xEF\xBB\xBF[J]\r\n2=\xDC"
      "bung \x93gut\x94 \x80\x81\r\n3=\xC3\x9C"
      "bung \xE2\x82\xAC\n";
  const std::vector<QString> lines = DecodeIniLines(bytes);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], u"[J]");
  EXPECT_EQ(lines[1], QString::fromUtf8("2=Übung “gut” €\u0081"));
  EXPECT_EQ(lines[2], QString::fromUtf8("3=Übung €"));
  EXPECT_EQ(EncodeIniLines(lines), QByteArray("[J]\r\n2=\xC3\x9C"
                                              "bung \xE2\x80\x9Cgut\xE2\x80\x9D "
                                              "\xE2\x82\xAC\xC2\x81\r\n3=\xC3\x9C"
                                              "bung "
                                              "\xE2\x82\xAC\r\n"));
}

TEST(IniEncoding, ByteOrderMarksAreSkippedOnlyAtTheStart) {
  const QByteArray bytes = "\xEF\xBB\xBF\xEF\xBB\xBF[J]\r\n2=\xEF\xBB\xBFx\r\n";
  const std::vector<QString> lines = DecodeIniLines(bytes);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], u"[J]");
  EXPECT_EQ(lines[1], QString::fromUtf8("2=\xEF\xBB\xBFx")) << "inside a line it is text";
  EXPECT_EQ(DecodeIniLines(EncodeIniLines(lines)), lines);
}

TEST(IniValue, WholeNumbers) {
  struct Case {
    const char* text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"7", 7},
      {"02", 2},
      {" 12 ", 12},
      {"+5", 5},
      {"-3", -3},
      {"0x1F", 31},
      {"0X1f", 31},
      {"-0x10", -16},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", {}},
      {"0x80000000", {}},
      {"abc", {}},
      {"", {}},
      {"12abc", {}},
      {"0x", {}},
      {"0xG", {}},
      {"1 2", {}},
      {"-", {}},
      {"Count", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseInteger(QString(c.text)), c.value) << c.text;
}

TEST(IniValue, BufferCutNeverSplitsACharacterPair) {
  const QString dog = QString::fromUtf8("🐶");  // two UTF-16 units
  EXPECT_EQ(CutToBuffer(QString("abc") + dog, 4), QString("abc"));
  EXPECT_EQ(CutToBuffer(QString("ab") + dog, 4), QString("ab") + dog);
  EXPECT_EQ(CutToBuffer(QString("abcdef"), 4), QString("abcd"));
}

}  // namespace
}  // namespace profile
