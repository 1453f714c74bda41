// Numbering, recording, naming and titling entries in the index.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QRegularExpression>
#include <set>

#include "tests/store/StoreFixture.h"

namespace kl::testing {
namespace {

bool IsFreshEntryPath(const std::string& path, const std::string& journalFolder) {
  static const QRegularExpression name(QStringLiteral("^\\d{14}\\.klb$"));
  const QString text = QString::fromStdString(path);
  return text.startsWith(QString::fromStdString(journalFolder + "/")) &&
         name.match(QFileInfo(text).fileName()).hasMatch();
}

struct NumberCase {
  const char* name;
  std::string index;  // empty: no journal.ini at all
  int next;
};

class EntryNumbers : public StoreFixture, public ::testing::WithParamInterface<NumberCase> {};

TEST_P(EntryNumbers, NewEntryTakesTheNextNumberAndRaisesCount) {
  const NumberCase& c = GetParam();
  if (!c.index.empty()) PutIni(c.index);
  EXPECT_EQ(GetNewEntryNumber(), c.next);
  EXPECT_EQ(GetNewEntryNumber(), c.next) << "asking writes nothing";

  std::string fileName = "unchanged";
  ASSERT_TRUE(SaveEntry(-1, "Sit and stay", fileName));
  const std::string key = std::to_string(c.next);
  EXPECT_TRUE(IsFreshEntryPath(fileName, JournalFolder())) << fileName;
  EXPECT_EQ(JournalIni()->ReadInteger("Journal", "Count", 0), c.next);
  EXPECT_EQ(JournalIni()->ReadString("Journal", key, ""), "Sit and stay");
  EXPECT_EQ(JournalIni()->ReadString("Entries", key, ""), fileName);
  EXPECT_TRUE(MessageTexts().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EntryNumbers,
    ::testing::Values(
        NumberCase{"MissingIndex", "", 2}, NumberCase{"CountSeven", "[Journal]\nCount=7\n", 8},
        NumberCase{"CountNotANumber", "[Journal]\nCount=many\n", 2},
        NumberCase{"CountInHex", "[Journal]\nCount=0x10\n", 17},
        // A damaged "Count" must neither hand out a number the tree cannot list nor overwrite a
        // recorded entry.
        NumberCase{"CountNegative", "[Journal]\nCount=-5\n", 2},
        NumberCase{"CountBehindRecordedEntries",
                   "[Journal]\n2=a\nCount=1\n3=b\n[Entries]\n2=/j/a.klb\n3=/j/b.klb\n4=/j/c.klb\n",
                   5},
        // The first of a repeated section is the one read, but a number that stands as a key
        // anywhere (a second "Journal", a line before any section) is taken.
        NumberCase{"KeysInRepeatedSectionsAndBeforeAnySection",
                   "3=stray\n[Journal]\n2=a\nCount=2\n[Entries]\n2=/j/a.klb\n[Journal]\n4=b\n"
                   "[Other]\n5=c\n",
                   6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StoreFixture, FirstEntriesOfANewJournalLayTheIndexOut) {
  std::string first, second;
  ASSERT_TRUE(SaveEntry(-1, "Sit and stay", first));
  ASSERT_TRUE(SaveEntry(0, "Recall at the park", second));
  EXPECT_NE(first, second);
  EXPECT_EQ(IniText(), "[Journal]\n2=Sit and stay\nCount=3\n3=Recall at the park\n[Entries]\n2=" +
                           first + "\n3=" + second + "\n");
}

TEST_F(StoreFixture, SaveEntryOfARecordedEntryWritesNothing) {
  std::string fileName = "/kept/as/given.klb";
  EXPECT_TRUE(SaveEntry(5, "ignored", fileName));
  EXPECT_EQ(fileName, "/kept/as/given.klb");
  EXPECT_EQ(IniText(), "<no index>");
}

TEST_F(StoreFixture, NamesMadeInTheSameSecondNeverShareAFile) {
  // Entry files for this second and the next few exist already; a recorded entry whose file was
  // never written holds a name too.
  const QDateTime now = QDateTime::currentDateTime();
  std::set<std::string> taken;
  for (int s = 0; s < 3; ++s) {
    taken.insert(JournalFolder() + "/" + now.addSecs(s).toString("yyyyMMddHHmmss").toStdString() +
                 ".klb");
    Touch(*taken.rbegin());
  }
  std::string recorded;
  ASSERT_TRUE(SaveEntry(-1, "never written", recorded));
  EXPECT_FALSE(taken.count(recorded)) << recorded;

  std::string fresh;
  GetEntryFileName(-1, "", fresh);
  EXPECT_TRUE(IsFreshEntryPath(fresh, JournalFolder())) << fresh;
  EXPECT_FALSE(taken.count(fresh)) << fresh;
  EXPECT_NE(fresh, recorded);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(fresh)));
}

TEST_F(StoreFixture, EntryFileNames) {
  PutIni("[Journal]\n2=Sit\nCount=2\n[Entries]\n2=" + JournalFolder() + "/20240315093000.klb\n");
  Touch(JournalFolder() + "/20240315093000.klb");
  struct Case {
    int number;
    std::string name;
    std::string expected;  // "<fresh>" for a fresh path
  };
  const Case cases[] = {
      {2, "ignored", JournalFolder() + "/20240315093000.klb"},
      {3, "", ""},
      {-1, " /elsewhere/x.klb", " /elsewhere/x.klb"},
      {-1, "/elsewhere/y.rtf", "/elsewhere/y.rtf"},
      {-1, "   ", "<fresh>"},
      {0, "", "<fresh>"},
  };
  for (const Case& c : cases) {
    std::string fileName = "before";
    GetEntryFileName(c.number, c.name, fileName);
    if (c.expected == "<fresh>") {
      EXPECT_TRUE(IsFreshEntryPath(fileName, JournalFolder())) << c.number << " '" << c.name << "'";
    } else {
      EXPECT_EQ(fileName, c.expected) << c.number << " '" << c.name << "'";
    }
  }
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(StoreFixture, EntryTitles) {
  PutIni("[Journal]\n2=Sit\nCount=2\n");
  struct Case {
    int number;
    std::string expected;
  };
  for (const Case& c : {Case{0, "Untitled"}, Case{-1, "Untitled"}, Case{2, "Sit"}, Case{9, ""}}) {
    std::string title = "before";
    GetEntryTitle(c.number, title);
    EXPECT_EQ(title, c.expected) << c.number;
  }
}

TEST_F(StoreFixture, TitlesAreStoredAsGivenAndReadThroughTheBuffer) {
  std::string fileName;
  ASSERT_TRUE(SaveEntry(-1, "  Sit  ", fileName));
  std::string title;
  GetEntryTitle(2, title);
  EXPECT_EQ(title, "  Sit  ") << "leading and trailing blanks survive";

  const std::string longTitle(3000, 'x');
  ASSERT_TRUE(SaveEntryTitle(2, longTitle));
  GetEntryTitle(2, title);
  EXPECT_EQ(title, longTitle.substr(0, 2047));

  const std::string before = IniText();
  EXPECT_TRUE(SaveEntryTitle(0, "not written"));
  EXPECT_TRUE(SaveEntryTitle(-1, "not written"));
  EXPECT_EQ(IniText(), before);
}

TEST_F(StoreFixture, JournalListsEntryKeysInCreationOrderAfterARename) {
  std::string fileName;
  ASSERT_TRUE(SaveEntry(-1, "Sit", fileName));
  ASSERT_TRUE(SaveEntry(-1, "Down", fileName));
  ASSERT_TRUE(SaveEntryTitle(2, "Sit and stay"));
  const std::vector<TJournalEntry> entries = ReadJournalEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Number, 2);
  EXPECT_EQ(entries[0].Title, "Sit and stay");
  EXPECT_EQ(entries[1].Number, 3);
  EXPECT_EQ(entries[1].Title, "Down");
}

TEST_F(StoreFixture, JournalListsOnlyKeysThatAreEntryNumbers) {
  PutIni("[Journal]\nabc=x\n2=Sit\nCount=4\n0=zero\n-3=minus\n4=\n02=ignored\n[Entries]\n9=z\n");
  std::vector<std::pair<int, std::string>> listed;
  for (const TJournalEntry& entry : ReadJournalEntries())
    listed.emplace_back(entry.Number, entry.Title);
  // "02" is entry 2 again and reads the title under "2"; an empty title is still an entry.
  const std::vector<std::pair<int, std::string>> expected = {{2, "Sit"}, {4, ""}, {2, "Sit"}};
  EXPECT_EQ(listed, expected);
}

TEST_F(StoreFixture, MissingIndexListsNothing) {
  EXPECT_TRUE(ReadJournalEntries().empty());
  EXPECT_EQ(IniText(), "<no index>");
}

TEST_F(StoreFixture, ThousandsOfEntriesAreAllListed) {
  // Far beyond what the platform's 16,384-character key list holds.
  std::string text = "[Journal]\n";
  for (int n = 2; n < 6002; ++n) text += std::to_string(n) + "=t" + std::to_string(n) + "\n";
  PutIni(text);
  const std::vector<TJournalEntry> entries = ReadJournalEntries();
  ASSERT_EQ(entries.size(), 6000u);
  EXPECT_EQ(entries.back().Number, 6001);
  EXPECT_EQ(entries.back().Title, "t6001");
}

TEST_F(StoreFixture, IndexFromTheOriginalPlatform) {
  ASSERT_TRUE(
      QFile::copy(KL_TEST_DATA "/profile/journal-1252.ini", QString::fromStdString(IniPath())));
  const std::vector<TJournalEntry> entries = ReadJournalEntries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].Title, "Übung mit Ball");
  EXPECT_EQ(entries[1].Title, "“Platz” € 50 – gut");

  // Its paths were written with "\" elsewhere: entry 2's file was copied into this journal.
  Touch(JournalFolder() + "/20240315093000.klb");
  std::string fileName;
  GetEntryFileName(2, "", fileName);
  EXPECT_EQ(fileName, JournalFolder() + "/20240315093000.klb");
  GetEntryFileName(3, "", fileName);
  EXPECT_EQ(fileName, JournalFolder() + "/20240316181205.klb")
      << "a save of a missing entry file goes into the journal, not the working folder";

  std::string next;
  ASSERT_TRUE(SaveEntry(-1, "Fuß", next));
  EXPECT_EQ(JournalIni()->ReadString("Journal", "4", ""), "Fuß");
  EXPECT_EQ(JournalIni()->ReadString("Journal", "2", ""), "Übung mit Ball");
}

}  // namespace
}  // namespace kl::testing
