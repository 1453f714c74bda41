// How the store reports what it cannot do, and what it leaves behind.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <functional>

#include "framework/Exception.h"

#include "tests/store/StoreFixture.h"

namespace kl::testing {
namespace {

class StoreFailures : public StoreFixture {
 protected:
  // The program's folder is a file: no index can be written there (not even by root).
  void PointAtUnwritableFolder() {
    CloseJournalIni();
    unwritable_ = Folder() + "Program";
    Touch(unwritable_);
    SetAppFolder(unwritable_);
    OpenJournalIni();
  }

  void ExpectOneMessage(const std::string& text) {
    ASSERT_EQ(dialogs_->Messages().size(), 1u);
    const MessageRequest& shown = dialogs_->Messages()[0];
    EXPECT_EQ(shown.text, text);
    EXPECT_EQ(shown.caption, "Kennel Logbook");
    EXPECT_EQ(shown.icon, MsgIcon::None);
    EXPECT_EQ(shown.buttons, MsgButtons::Ok);
  }

  std::string unwritable_;
};

TEST_F(StoreFailures, RefusedWritesAreReportedByTheRoutine) {
  PointAtUnwritableFolder();
  const std::string message = "Unable to write to " + unwritable_ + "/journal.ini";

  std::string fileName = "before";
  EXPECT_FALSE(SaveEntry(-1, "Sit", fileName));
  EXPECT_EQ(fileName, "before");
  ExpectOneMessage("SaveEntry: Error - " + message);

  dialogs_ = &InstallScriptedDialogs();
  EXPECT_FALSE(SaveEntryTitle(2, "Sit"));
  ExpectOneMessage("SaveEntryTitle: Error - " + message);
}

TEST_F(StoreFailures, UnreadableIndexIsReportedAndLeavesOutputsAlone) {
  // A folder where the index should be: reads fail, and no write replaces it.
  ASSERT_TRUE(QDir(dir_.path()).mkdir("journal.ini"));
  const std::string message = "Unable to read from " + IniPath();
  struct Case {
    const char* routine;
    std::function<void()> call;
  };
  std::string text = "before";
  int number = -7;
  bool saved = true;
  const Case cases[] = {
      {"GetNewEntryNumber", [&] { number = GetNewEntryNumber(); }},
      {"SaveEntry", [&] { saved = SaveEntry(-1, "Sit", text); }},
      {"SaveEntryTitle", [&] { saved = SaveEntryTitle(2, "Sit"); }},
      {"GetEntryFileName", [&] { GetEntryFileName(2, "", text); }},
      {"GetEntryTitle", [&] { GetEntryTitle(2, text); }},
  };
  const char* reportedAs[] = {"SaveEntry", "SaveEntry", "SaveEntryTitle", "GetEntryFileName",
                              "GetEntryTitle"};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].routine);
    dialogs_ = &InstallScriptedDialogs();
    cases[i].call();
    ExpectOneMessage(std::string(reportedAs[i]) + ": Error - " + message);
  }
  EXPECT_EQ(number, 0);
  EXPECT_FALSE(saved);
  EXPECT_EQ(text, "before");
  EXPECT_THROW(ReadJournalEntries(), Exception);
  EXPECT_TRUE(QFileInfo(QString::fromStdString(IniPath())).isDir());
}

TEST_F(StoreFailures, RoutinesBeforeTheIndexIsOpenReportInsteadOfCrashing) {
  CloseJournalIni();
  std::string fileName = "before";
  EXPECT_FALSE(SaveEntry(-1, "Sit", fileName));
  ExpectOneMessage("SaveEntry: Error - The journal index is not open");
  EXPECT_EQ(fileName, "before");
}

TEST_F(StoreFixture, SaveNewEntryRecordsTheEntryOnlyAfterItsFileIsWritten) {
  std::string fileName;
  int number = -1;
  std::string seenPath;
  const bool saved = SaveNewEntry(
      "Sit",
      [&](const std::string& path) {
        seenPath = path;
        EXPECT_FALSE(JournalIni()->ValueExists("Journal", "2")) << "not recorded before the file";
        Touch(path);
        return true;
      },
      fileName, number);
  ASSERT_TRUE(saved);
  EXPECT_EQ(number, 2);
  EXPECT_EQ(fileName, seenPath);
  EXPECT_EQ(IniText(), "[Journal]\n2=Sit\nCount=2\n[Entries]\n2=" + fileName + "\n");

  // A file that could not be written records nothing.
  const std::string before = IniText();
  std::string unchangedName = "kept";
  int unchangedNumber = 2;
  EXPECT_FALSE(SaveNewEntry(
      "Down", [](const std::string&) { return false; }, unchangedName, unchangedNumber));
  EXPECT_EQ(unchangedName, "kept");
  EXPECT_EQ(unchangedNumber, 2);
  EXPECT_EQ(IniText(), before);

  // A failure thrown while writing passes through, recording nothing.
  EXPECT_THROW(
      SaveNewEntry(
          "Down", [](const std::string&) -> bool { throw Exception("Failed to Save Stream"); },
          unchangedName, unchangedNumber),
      Exception);
  EXPECT_EQ(IniText(), before);
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(StoreFixture, SaveNewEntryRemovesTheFileWhenTheIndexCannotRecordIt) {
  std::string written;
  std::string fileName = "kept";
  int number = -1;
  const bool saved = SaveNewEntry(
      "Sit",
      [&](const std::string& path) {
        written = path;
        Touch(path);
        // Something takes the index's place while the file is written.
        EXPECT_TRUE(QDir(dir_.path()).mkdir("journal.ini"));
        return true;
      },
      fileName, number);
  EXPECT_FALSE(saved);
  EXPECT_EQ(fileName, "kept");
  EXPECT_EQ(number, -1);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(written)));
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(MessageTexts()[0], "SaveEntry: Error - Unable to read from " + IniPath());
}

}  // namespace
}  // namespace kl::testing
