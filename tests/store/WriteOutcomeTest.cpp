// The keeper's writes answer in words for a notice; a full disk leaves the old file whole.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "platform/files/SystemCalls.h"
#include "store/WriteOutcome.h"

namespace kl {
namespace {

ssize_t FailLikeAFullDisk(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

TEST(WriteOutcome, ReasonsAreWordsForANotice) {
  EXPECT_TRUE(WriteFailure(0).Ok());
  EXPECT_EQ(WriteFailure(ENOSPC).reason, "disk full");
  EXPECT_EQ(WriteFailure(EDQUOT).reason, "disk full");
  EXPECT_EQ(WriteFailure(EACCES).reason, "the folder cannot be written");
  EXPECT_EQ(WriteFailure(EROFS).reason, "the folder cannot be written");
  EXPECT_EQ(WriteFailure(ENOENT).reason, "the folder cannot be found");
  EXPECT_FALSE(WriteFailure(EIO).reason.empty());
}

TEST(WriteOutcome, FullDiskKeepsTheOldFileAndSaysDiskFull) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("new-entry.klb").toStdString();
  ASSERT_TRUE(WriteKeptFile(path, "old").Ok());
  {
    files::SystemCalls calls = files::RealSystemCalls();
    calls.write = &FailLikeAFullDisk;
    files::ScopedSystemCalls full(calls);
    EXPECT_EQ(WriteKeptFile(path, "new words").reason, "disk full");
  }
  QFile file(QString::fromStdString(path));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "old");
  // Nobody, not even the superuser, can make files here.
  EXPECT_FALSE(WriteKeptFile("/proc/self/fdinfo/new-entry.klb", "words").Ok());
}

}  // namespace
}  // namespace kl
