// A damaged index: how it is told from a healthy one, copied aside and rebuilt from the entry
// files, with every entry back and its title kept where it can still be read.
#include "store/JournalRepair.h"

#include <QDateTime>
#include <QLocale>

#include "store/EntryDates.h"
#include "tests/store/StoreFixture.h"

namespace kl::testing {
namespace {

class JournalRepair : public StoreFixture {
 protected:
  void PutBytes(const QByteArray& bytes) const {
    QFile file(QString::fromStdString(IniPath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }
  std::string Entry(const char* name) const { return JournalFolder() + "/" + name; }
  void PutEntry(const char* name, const std::string& rtf) const {
    QFile file(QString::fromStdString(Entry(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(rtf));
  }
};

TEST_F(JournalRepair, DamageIsNulBytesOrNoEntriesBesideEntryFiles) {
  struct Case {
    const char* name;
    QByteArray index;
    bool entryFiles;
    bool damaged;
  };
  const Case cases[] = {
      {"healthy", "[Journal]\r\n2=Sit\r\n[Entries]\r\n2=/j/1.klb\r\n", true, false},
      {"NUL bytes", QByteArray("[Journal]\r\n2=Sit\0\0\0\r\n[Entries]\r\n2=/j/1.klb\r\n", 40), true,
       true},
      {"NUL bytes alone", QByteArray(64, '\0'), false, true},
      {"no sections", "Sit and stay\r\nRecall\r\n", true, true},
      {"an empty Entries section", "[Journal]\r\n2=Sit\r\n[Entries]\r\n", true, true},
      {"no sections, no entry files", "Sit and stay\r\n", false, false},
      {"CR-only line ends", "[Journal]\r2=Sit\rCount=2\r[Entries]\r2=/j/1.klb\r", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(QString::fromStdString(Entry("20240315093000.klb")));
    if (c.entryFiles) PutEntry("20240315093000.klb", "{\\rtf1 x\\par}");
    PutBytes(c.index);
    EXPECT_EQ(IsJournalIndexDamaged(), c.damaged);
  }
  QFile::remove(QString::fromStdString(IniPath()));
  EXPECT_FALSE(IsJournalIndexDamaged()) << "a missing index is a new journal";
}

TEST_F(JournalRepair, RebuildListsEveryEntryFileInOrderWithTheTitlesItCanFind) {
  const std::string dateLine =
      EntryDateLine(QDateTime(QDate(2024, 3, 15), QTime(9, 30)), QLocale::system());
  PutEntry("20240315093000.klb", "{\\rtf1 {\\b " + dateLine + "}\\par\\par Sit and stay\\par}");
  PutEntry("20240316181205.klb", "{\\rtf1 {\\b Recall}\\par at the park\\par}");
  PutEntry("20240317070000.klb", "");
  PutEntry("20240318080000.klb", "{\\rtf1 Down}");
  const QByteArray damaged(
      "[Journal]\r\n4=Down at the gate\r\n\0\0\0\0\r\n[Entries]\r\n4=C:\\"
      "Kennel\\Journals\\20240318080000.klb\r\n",
      90);
  PutBytes(damaged);
  const std::string copy = KeepDamagedIndexCopy();
  EXPECT_EQ(copy.rfind(Folder() + "journal.ini.damaged-", 0), 0u) << copy;
  RebuildJournalIndex();

  const std::vector<TJournalEntry> entries = ReadJournalEntries();
  ASSERT_EQ(entries.size(), 4u);
  const std::string stamp =
      DefaultEntryTitle(QDateTime(QDate(2024, 3, 17), QTime(7, 0)), QLocale::system());
  const std::vector<std::pair<int, std::string>> expected{
      {1, "Sit and stay"}, {2, "Recall"}, {3, stamp}, {4, "Down at the gate"}};
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].Number, expected[i].first);
    EXPECT_EQ(entries[i].Title, expected[i].second);
  }
  EXPECT_EQ(JournalIni()->ReadInteger("Journal", "Count", 0), 4);
  std::string path;
  GetEntryFileName(2, "", path);
  EXPECT_EQ(path, Entry("20240316181205.klb"));
  EXPECT_EQ(GetNewEntryNumber(), 5);

  QFile kept(QString::fromStdString(copy));
  ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
  EXPECT_EQ(kept.readAll(), damaged) << "the copy keeps the damaged index as it was";
  EXPECT_EQ(QDir(QString::fromStdString(JournalFolder())).entryList(QDir::Files).size(), 4)
      << "every entry file stays where it is";
}

TEST_F(JournalRepair, SetAsideTheTreeStartsEmptyAndTheFirstSaveWritesAFreshIndex) {
  PutEntry("20240315093000.klb", "{\\rtf1 x\\par}");
  PutBytes(QByteArray("[Journal]\r\n2=Sit\0\r\n", 18));
  SetJournalIndexAside();
  EXPECT_TRUE(ReadJournalEntries().empty());
  std::string path;
  ASSERT_TRUE(SaveEntry(-1, "Heel", path));
  EXPECT_EQ(IniText().find("Sit"), std::string::npos);
  EXPECT_NE(IniText().find("2=Heel"), std::string::npos);
}

TEST(JournalRepairTitles, TakenFromTheTextAfterTheDateLine) {
  const QLocale english = QLocale::c();
  struct Case {
    std::string text;
    std::string title;
  };
  const std::string date = "Tuesday, 08 Dec 2026 22:15";
  const Case cases[] = {
      {date + "\r\r  Sit and stay \rmore", "Sit and stay"},
      {"Recall\rat the park", "Recall"},
      {"\r \rDown", "Down"},
      {std::string(300, 'x'), std::string(255, 'x')},
      {date + "\r\r", "15/03/2024 09:30"},
      {"", "15/03/2024 09:30"},
  };
  for (const Case& c : cases) {
    const std::string expected =
        c.title == "15/03/2024 09:30"
            ? DefaultEntryTitle(QDateTime(QDate(2024, 3, 15), QTime(9, 30)), english)
            : c.title;
    EXPECT_EQ(TitleOfEntryText(c.text, "20240315093000.klb", english), expected) << c.text;
  }
  EXPECT_EQ(TitleOfEntryText("", "notes.klb", english), "notes");
}

}  // namespace
}  // namespace kl::testing
