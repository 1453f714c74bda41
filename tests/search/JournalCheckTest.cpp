// The check that keeps the index true to the journal's files.
#include <QFile>
#include <thread>

#include "search/JournalCheck.h"
#include "search/JournalStamps.h"
#include "search/SearchIndex.h"
#include "tests/search/SearchFixture.h"

namespace kl::testing {
namespace {

class JournalCheckTest : public SearchFixture {
 protected:
  void SetUp() override {
    SearchFixture::SetUp();
    index_ = std::make_unique<TSearchIndex>(IndexPath());
  }
  std::vector<int> Find(const std::string& query) { return index_->RankedMatches(query); }

  std::unique_ptr<TSearchIndex> index_;
};

TEST_F(JournalCheckTest, FollowsNewChangedRenamedAndRemovedEntries) {
  PutEntry(2, "Sit", "sit at the door");
  PutEntry(3, "Heel", "heel on the path");
  EXPECT_EQ(CheckJournal(*index_).read, 2);
  EXPECT_EQ(Find("door"), std::vector<int>{2});

  // Behind the program's back: a file rewritten, a title changed, an entry gone, one added.
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  PutEntry(2, "Sit and wait", "sit by the gate");
  PutEntry(4, "Down", "down in the grass");
  ForgetEntry(3);
  const TCheckReport report = CheckJournal(*index_);
  EXPECT_EQ(report.read, 2);
  EXPECT_EQ(report.dropped, 1);
  EXPECT_TRUE(Find("door").empty());
  EXPECT_EQ(Find("gate"), std::vector<int>{2});
  EXPECT_EQ(Find("wait"), std::vector<int>{2});
  EXPECT_EQ(Find("grass"), std::vector<int>{4});
  EXPECT_TRUE(Find("heel").empty());

  EXPECT_EQ(CheckJournal(*index_).read, 0);  // unchanged: nothing read again
}

TEST_F(JournalCheckTest, UnreadableFilesAreSkippedAndRecordedWithTheirProblem) {
  PutEntry(2, "Good", "sit");
  PutEntry(3, "Gone", "stay");
  PutEntry(4, "Not RTF", "x");
  QFile::remove(QString::fromStdString(EntryPath(3)));
  WriteFile(EntryPath(4), "just some plain words");
  CheckJournal(*index_);
  const std::map<int, TIndexedEntry> entries = index_->Entries();
  EXPECT_EQ(entries.at(2).problem, "");
  EXPECT_EQ(entries.at(3).problem, "file missing");
  EXPECT_EQ(entries.at(4).problem, "not an RTF document");
  EXPECT_TRUE(Find("plain").empty());
  EXPECT_EQ(CheckJournal(*index_).read, 0);  // not read again until the file changes
}

TEST_F(JournalCheckTest, QuickTestSeesASaveIntoTheEntryFolder) {
  PutEntry(2, "Sit", "sit");
  CheckJournal(*index_);
  EXPECT_FALSE(JournalMayHaveChanged(*index_));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // A save writes a temporary file and renames it over the entry.
  WriteFile(EntryPath(2) + ".tmp", "{\\rtf1 stay\\par}");
  ASSERT_TRUE(std::rename((EntryPath(2) + ".tmp").c_str(), EntryPath(2).c_str()) == 0);
  EXPECT_TRUE(JournalMayHaveChanged(*index_));
  CheckJournal(*index_);
  EXPECT_FALSE(JournalMayHaveChanged(*index_));
  EXPECT_EQ(Find("stay"), std::vector<int>{2});
}

TEST_F(JournalCheckTest, ACheckThatIsStoppedLeavesTheNextOneToFinish) {
  for (int n = 2; n < 200; ++n) PutEntry(n, "Entry", "recall " + std::to_string(n));
  std::atomic<bool> stop{true};
  EXPECT_TRUE(CheckJournal(*index_, {}, &stop).stopped);
  EXPECT_TRUE(JournalMayHaveChanged(*index_));
  EXPECT_EQ(CheckJournal(*index_).read, 198);
  EXPECT_EQ(Find("recall").size(), 198u);
}

}  // namespace
}  // namespace kl::testing
