// The history of an entry: the file a save replaces is kept, and the versions are thinned by
// their rule (every one of the last day, the last of each day for 30 days, the last of each
// month before, at most 50 MB with the newest always kept).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "store/EntryHistory.h"

namespace kl {
namespace {

const QDateTime kNow = QDateTime(QDate(2026, 12, 11), QTime(12, 0), Qt::LocalTime).toUTC();

THistoryVersion Version(const char* label, qint64 secondsAgo, std::int64_t size = 100) {
  return {label, kNow.addSecs(-secondsAgo), size};
}

constexpr qint64 kHour = 3600;
constexpr qint64 kDay = 24 * kHour;

std::vector<std::string> Kept(const std::vector<THistoryVersion>& newestFirst,
                              std::int64_t cap = kHistoryCapBytes) {
  const std::vector<bool> kept = VersionsKeptByRule(newestFirst, kNow, cap);
  std::vector<std::string> labels;
  for (std::size_t i = 0; i < kept.size(); ++i)
    if (kept[i]) labels.push_back(newestFirst[i].Path);
  return labels;
}

TEST(HistoryRule, KeepsEveryVersionOfTheLastDayThenTheLastOfEachDayThenOfEachMonth) {
  const std::vector<THistoryVersion> versions{
      Version("10 minutes ago", 600),
      Version("5 hours ago", 5 * kHour),
      Version("23 hours ago", 23 * kHour),
      Version("2 days ago, evening", 2 * kDay),
      Version("2 days ago, morning", 2 * kDay + 6 * kHour),
      Version("10 days ago", 10 * kDay),
      Version("10 days ago, earlier", 10 * kDay + kHour),
      Version("29 days ago", 29 * kDay),
      Version("60 days ago", 60 * kDay),
      Version("61 days ago", 61 * kDay),
      Version("a year ago", 365 * kDay),
  };
  // 60 and 61 days ago fall in one month (October), so only the later of them stays.
  EXPECT_EQ(Kept(versions),
            (std::vector<std::string>{"10 minutes ago", "5 hours ago", "23 hours ago",
                                      "2 days ago, evening", "10 days ago", "29 days ago",
                                      "60 days ago", "a year ago"}));
}

TEST(HistoryRule, SizeCapDropsTheOldestFirstButNeverTheNewest) {
  EXPECT_EQ(Kept({Version("new", 60, 30), Version("middle", 120, 30), Version("old", 180, 30)}, 70),
            (std::vector<std::string>{"new", "middle"}));
  EXPECT_EQ(Kept({Version("huge newest", 60, 500), Version("small", 120, 1)}, 100),
            (std::vector<std::string>{"huge newest"}));
}

class EntryHistoryFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir(dir_.path()).mkpath("Journals"));
    entry_ = dir_.filePath("Journals/20260101093000.klb").toStdString();
    history_ = dir_.filePath("Journals/.history").toStdString();
  }
  void WriteEntry(const QByteArray& bytes) {
    // As a save does: a new file renamed over the old one.
    ASSERT_TRUE(WriteKeptFile(entry_, bytes.toStdString()).Ok());
  }
  static QByteArray Read(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
  }

  QTemporaryDir dir_;
  std::string entry_;
  std::string history_;
};

TEST_F(EntryHistoryFiles, EachRewriteKeepsThePreviousFileNewestFirst) {
  WriteEntry("first");
  ASSERT_TRUE(KeepEntryVersion(history_, entry_, kNow).Ok());
  WriteEntry("second");
  ASSERT_TRUE(KeepEntryVersion(history_, entry_, kNow).Ok());  // the same second
  WriteEntry("third");

  const std::vector<THistoryVersion> versions = ListEntryVersions(history_, entry_);
  ASSERT_EQ(versions.size(), 2u);
  EXPECT_EQ(Read(versions[0].Path), "second");
  EXPECT_EQ(Read(versions[1].Path), "first");
  EXPECT_EQ(versions[0].Size, 6);
  EXPECT_EQ(versions[0].ReplacedAt, kNow);
  EXPECT_EQ(Read(entry_), "third");
  EXPECT_EQ(QString::fromStdString(EntryHistoryFolder(history_, entry_)),
            dir_.filePath("Journals/.history/20260101093000"));
}

TEST_F(EntryHistoryFiles, MissingEntryFileKeepsNothing) {
  EXPECT_TRUE(KeepEntryVersion(history_, entry_, kNow).Ok());
  EXPECT_TRUE(ListEntryVersions(history_, entry_).empty());
}

TEST_F(EntryHistoryFiles, ThinningRemovesWhatTheRuleDrops) {
  for (qint64 daysAgo : {12, 11, 10}) {
    WriteEntry(QByteArray::number(daysAgo));
    // Two saves on each of those days: only the later one of a day stays.
    ASSERT_TRUE(KeepEntryVersion(history_, entry_, kNow.addSecs(-daysAgo * kDay - kHour)).Ok());
    ASSERT_TRUE(KeepEntryVersion(history_, entry_, kNow.addSecs(-daysAgo * kDay)).Ok());
  }
  ThinEntryVersions(history_, entry_, kNow);
  const std::vector<THistoryVersion> versions = ListEntryVersions(history_, entry_);
  ASSERT_EQ(versions.size(), 3u);
  EXPECT_EQ(versions[0].ReplacedAt, kNow.addSecs(-10 * kDay));
  EXPECT_EQ(versions[2].ReplacedAt, kNow.addSecs(-12 * kDay));
}

}  // namespace
}  // namespace kl
