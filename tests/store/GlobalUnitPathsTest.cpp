// Where the journal lives, and how recorded paths find their files.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStandardPaths>

#include "tests/store/StoreFixture.h"

namespace kl::testing {
namespace {

TEST_F(StoreFixture, SharedValuesFollowTheProgramFolder) {
  EXPECT_EQ(AppFolder(), Folder());
  EXPECT_EQ(JournalFolder(), Folder() + "Journals");
  ASSERT_NE(JournalIni(), nullptr);
  EXPECT_EQ(JournalIni()->FileName(), Folder() + "journal.ini");
  SetAppFolder(Folder() + "elsewhere/");
  EXPECT_EQ(AppFolder(), Folder() + "elsewhere/") << "no second delimiter";
}

TEST(StorePaths, ProgramFolderIsTheFolderOfTheRunningProgram) {
  EXPECT_EQ(ProgramFolder(), QCoreApplication::applicationDirPath().toStdString() + "/");
}

TEST(StorePaths, UnwritableProgramFolderFallsBackToThePerUserDataFolder) {
  QTemporaryDir dir;
  const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", dir.filePath("data").toUtf8());
  const std::string programFile = dir.filePath("program").toStdString();
  {
    QFile file(QString::fromStdString(programFile));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const std::string writable = dir.path().toStdString();
  const std::string fallback =
      QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString() + "/";

  EXPECT_EQ(ChooseAppFolder(writable), writable + "/") << "a writable folder keeps the journal";

  // A "folder" that is a file, and one that does not exist, cannot take the journal.
  for (const std::string& unwritable : {programFile + "/", writable + "/missing/"}) {
    EXPECT_EQ(ChooseAppFolder(unwritable), fallback) << unwritable;
  }
  EXPECT_TRUE(QFileInfo(QString::fromStdString(fallback)).isDir()) << "created when missing";
  EXPECT_TRUE(QString::fromStdString(fallback).startsWith(dir.path()));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"program"})
      << "the writability probe leaves nothing behind";

  if (savedDataHome.isNull()) {
    qunsetenv("XDG_DATA_HOME");
  } else {
    qputenv("XDG_DATA_HOME", savedDataHome);
  }
}

TEST_F(StoreFixture, RecordedPathsFindTheirFiles) {
  const std::string inJournal = JournalFolder() + "/20240315093000.klb";
  Touch(inJournal);
  const std::string outside = Folder() + "outside.klb";
  Touch(outside);
  struct Case {
    std::string stored;
    std::string resolved;
  };
  const std::string inCopy = JournalFolder() + "/20991231235959.klb";
  const Case cases[] = {
      {inJournal, inJournal},
      // Another journal's file is never taken, even when it is there.
      {outside, JournalFolder() + "/outside.klb"},
      {JournalFolder() + "/../outside.klb", JournalFolder() + "/outside.klb"},
      {"/old/program/Journals/20240315093000.klb", inJournal},
      {"C:\\Program Files\\Kennel Logbook\\Journals\\20240315093000.klb", inJournal},
      {"C:\\Kennel\\Journals\\20991231235959.klb", inCopy},
      // A file missing here is looked for here only: opening it fails, saving writes it here.
      {"/old/program/Journals/20991231235959.klb", inCopy},
      {"20991231235959.klb", inCopy},
      {"/old/program/Journals/", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(ResolveEntryFile(c.stored), c.resolved) << c.stored;
}

TEST(StorePaths, KeyNamesAsEntryNumbers) {
  struct Case {
    const char* key;
    int number;
  };
  for (const Case& c : {Case{"2", 2}, Case{"02", 2}, Case{"0x10", 16}, Case{"Count", 0},
                        Case{"abc", 0}, Case{"0", 0}, Case{"-3", -3}, Case{"", 0}}) {
    EXPECT_EQ(EntryNumberOfKey(c.key), c.number) << c.key;
  }
}

}  // namespace
}  // namespace kl::testing
