// The journal keeper's recovery files: written off the caller's thread, named after their
// entry, listed at the next start only when the program that wrote them has ended, adopted or
// discarded at the user's word, gone after a normal end.
#include <QFileInfo>
#include <atomic>

#include "store/JournalKeeper.h"
#include "tests/store/StoreFixture.h"

namespace kl::testing {
namespace {

const char* const kRtf = "{\\rtf1\\ansi Bella held a sit for thirty seconds.\\par}";

class JournalKeeperTest : public StoreFixture {
 protected:
  std::unique_ptr<TJournalKeeper> NewKeeper() const {
    return std::make_unique<TJournalKeeper>(Folder() + "Journals/.recovery",
                                            Folder() + "Journals/.history");
  }
  // Keeps rtf and waits until it is on disk; answers the outcome.
  static TWriteOutcome KeepAndWait(TJournalKeeper& keeper, int number, const std::string& rtf) {
    TWriteOutcome result;
    keeper.KeepRecovery(number, rtf, [&](const TWriteOutcome& outcome) { result = outcome; });
    keeper.WaitForWrites();
    return result;
  }
  static std::string Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<missing>";
  }
};

TEST_F(JournalKeeperTest, RecoveryFileIsNamedAfterItsEntry) {
  EXPECT_EQ(RecoveryFileName(-1, ""), "new-entry.klb");
  EXPECT_EQ(RecoveryFileName(12, "/j/Journals/20240315093000.klb"), "entry-12-20240315093000.klb");
  EXPECT_EQ(RecoveryFileName(3, "C:\\Kennel\\Journals\\20240101000000.klb"),
            "entry-3-20240101000000.klb");
  int number = 0;
  std::string entryName;
  ASSERT_TRUE(ParseRecoveryFileName("entry-12-20240315093000.klb", number, entryName));
  EXPECT_EQ(number, 12);
  EXPECT_EQ(entryName, "20240315093000");
  ASSERT_TRUE(ParseRecoveryFileName("new-entry.klb", number, entryName));
  EXPECT_EQ(number, -1);
  EXPECT_FALSE(ParseRecoveryFileName("notes.klb", number, entryName));
  EXPECT_FALSE(ParseRecoveryFileName("entry-0-x.klb", number, entryName));
}

TEST_F(JournalKeeperTest, KeepsTheNewestTextForgetsItAndEndsWithoutALeftover) {
  auto keeper = NewKeeper();
  ASSERT_TRUE(KeepAndWait(*keeper, -1, "first").Ok());
  ASSERT_TRUE(KeepAndWait(*keeper, -1, kRtf).Ok());
  const std::string path = keeper->OwnRecoveryPath();
  EXPECT_EQ(QFileInfo(QString::fromStdString(path)).fileName(), "new-entry.klb");
  EXPECT_EQ(Read(path), kRtf);
  keeper->ForgetRecovery();
  keeper->WaitForWrites();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));

  ASSERT_TRUE(KeepAndWait(*keeper, -1, kRtf).Ok());
  keeper->CloseSession();
  EXPECT_TRUE(QDir(QString::fromStdString(Folder() + "Journals/.recovery"))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                  .isEmpty());
}

TEST_F(JournalKeeperTest, WritesRunOffTheCallersThread) {
  auto keeper = NewKeeper();
  std::atomic<bool> elsewhere{false};
  const auto caller = std::this_thread::get_id();
  keeper->KeepRecovery(
      -1, kRtf, [&](const TWriteOutcome&) { elsewhere = std::this_thread::get_id() != caller; });
  keeper->WaitForWrites();
  EXPECT_TRUE(elsewhere);
}

TEST_F(JournalKeeperTest, RecoveryOfARunningProgramIsNotOfferedThatOfAnEndedOneIs) {
  PutIni("[Journal]\n2=Recall at the park\nCount=2\n[Entries]\n2=" + Folder() +
         "Journals/20240316181205.klb\n");
  auto running = NewKeeper();
  ASSERT_TRUE(KeepAndWait(*running, 2, kRtf).Ok());

  auto other = NewKeeper();  // a second program on the same journal
  EXPECT_TRUE(other->OrphanedRecoveries().empty());

  running.reset();  // ends without closing, as a crash does
  const std::vector<TRecoveryFile> found = other->OrphanedRecoveries();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Number, 2);
  EXPECT_EQ(found[0].Title, "Recall at the park");
  EXPECT_EQ(found[0].FirstWords, "Bella held a sit for thirty seconds.");
  EXPECT_TRUE(found[0].SavedAt.secsTo(QDateTime::currentDateTime()) < 60);

  // Listed by one program, the file is not offered to a third started meanwhile.
  EXPECT_TRUE(NewKeeper()->OrphanedRecoveries().empty());
}

TEST_F(JournalKeeperTest, RecoveredEntryIsFoundByItsFileWhenTheNumberNoLongerFits) {
  const std::string file = Folder() + "Journals/20240316181205.klb";
  PutIni("[Journal]\n2=Sit\nCount=2\n[Entries]\n2=" + file + "\n");
  {
    auto crashed = NewKeeper();
    ASSERT_TRUE(KeepAndWait(*crashed, 2, kRtf).Ok());
  }
  // The index was rebuilt since: the entry's file is now entry 5, and 2 is another one.
  PutIni("[Journal]\n2=Other\n5=Sit\nCount=5\n[Entries]\n2=" + Folder() +
         "Journals/20200101000000.klb\n5=" + file + "\n");
  auto keeper = NewKeeper();
  const std::vector<TRecoveryFile> found = keeper->OrphanedRecoveries();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].Number, 5);

  // With its file nowhere in the index it comes back as a new entry, never over another one.
  PutIni("[Journal]\n2=Other\nCount=2\n[Entries]\n2=" + Folder() + "Journals/20200101000000.klb\n");
  keeper.reset();
  keeper = NewKeeper();
  const std::vector<TRecoveryFile> again = keeper->OrphanedRecoveries();
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].Number, -1);
  EXPECT_EQ(again[0].Title, "Untitled");
}

TEST_F(JournalKeeperTest, AdoptedRecoveryBecomesOursDiscardedOneIsGone) {
  {
    auto crashed = NewKeeper();
    ASSERT_TRUE(KeepAndWait(*crashed, -1, kRtf).Ok());
  }
  {
    auto crashed = NewKeeper();
    ASSERT_TRUE(KeepAndWait(*crashed, -1, "{\\rtf1 other}").Ok());
  }
  auto keeper = NewKeeper();
  std::vector<TRecoveryFile> found = keeper->OrphanedRecoveries();
  ASSERT_EQ(found.size(), 2u);
  keeper->AdoptRecovery(found[0], -1);
  EXPECT_EQ(Read(keeper->OwnRecoveryPath()), kRtf);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(found[0].Path)));
  keeper->DiscardRecovery(found[1]);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(found[1].Path)));

  // Only our own session is left, and nothing is offered after us.
  keeper.reset();
  auto next = NewKeeper();
  const std::vector<TRecoveryFile> left = next->OrphanedRecoveries();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(Read(left[0].Path), kRtf);
}

TEST_F(JournalKeeperTest, FolderThatCannotBeWrittenIsReportedToTheCaller) {
  auto keeper = std::make_unique<TJournalKeeper>("/proc/self/fdinfo/.recovery",
                                                 Folder() + "Journals/.history");
  const TWriteOutcome outcome = KeepAndWait(*keeper, -1, kRtf);
  EXPECT_FALSE(outcome.Ok());
  EXPECT_FALSE(outcome.reason.empty());
}

}  // namespace
}  // namespace kl::testing
