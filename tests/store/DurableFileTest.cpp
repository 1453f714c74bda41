// Whole-file writes: the new bytes replace the old ones only when complete and flushed; a disk
// that fills up or a folder that refuses writing leaves the old file whole and says why.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "store/DurableFile.h"

namespace kl {
namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

ssize_t FailLikeAFullDisk(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

class DurableFileTest : public ::testing::Test {
 protected:
  void TearDown() override { SetWriteCallForTesting(nullptr); }
  std::string Path(const char* name) const { return dir_.filePath(name).toStdString(); }
  QStringList Names() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }
  QTemporaryDir dir_;
};

TEST_F(DurableFileTest, ReplacesTheFileAndLeavesNoTemporaryBehind) {
  ASSERT_TRUE(WriteFileDurably(Path("a.klb"), "old").Ok());
  ASSERT_TRUE(WriteFileDurably(Path("a.klb"), "new words").Ok());
  EXPECT_EQ(Read(QString::fromStdString(Path("a.klb"))), "new words");
  EXPECT_EQ(Names(), QStringList{"a.klb"});
}

TEST_F(DurableFileTest, FullDiskKeepsTheOldFileWholeAndSaysDiskFull) {
  ASSERT_TRUE(WriteFileDurably(Path("a.klb"), "old").Ok());
  SetWriteCallForTesting(&FailLikeAFullDisk);
  const TWriteOutcome outcome = WriteFileDurably(Path("a.klb"), "new words");
  EXPECT_FALSE(outcome.Ok());
  EXPECT_EQ(outcome.reason, "disk full");
  EXPECT_EQ(Read(QString::fromStdString(Path("a.klb"))), "old");
  EXPECT_EQ(Names(), QStringList{"a.klb"});
}

TEST_F(DurableFileTest, FolderThatCannotBeWrittenIsReportedNotCrashed) {
  // Nobody, not even the superuser, can make files here.
  const TWriteOutcome outcome = WriteFileDurably("/proc/self/fdinfo/a.klb", "words");
  EXPECT_FALSE(outcome.Ok());
  EXPECT_FALSE(outcome.reason.empty());
  EXPECT_FALSE(WriteFileDurably(Path("missing-folder/a.klb"), "words").Ok());
}

TEST_F(DurableFileTest, StepsAreReportedInOrderForTheCrashTests) {
  std::vector<TWriteStep> steps;
  SetWriteStepHook([&](TWriteStep step, const std::string&) { steps.push_back(step); });
  ASSERT_TRUE(WriteFileDurably(Path("a.klb"), "some words").Ok());
  SetWriteStepHook(nullptr);
  EXPECT_EQ(steps, (std::vector<TWriteStep>{TWriteStep::TemporaryPartlyWritten,
                                            TWriteStep::TemporaryWritten, TWriteStep::Replaced}));
}

}  // namespace
}  // namespace kl
