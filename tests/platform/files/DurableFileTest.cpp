// The durable writer with real files, and system calls that fail where a disk can fail.
#include "platform/files/DurableFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <ctime>

#include "platform/files/FileError.h"
#include "platform/files/SystemCalls.h"

namespace files {
namespace {

std::string ReadAll(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return "<missing>";
  return file.readAll().toStdString();
}

QStringList FilesIn(const QTemporaryDir& dir) {
  return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

class DurableFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    path_ = dir_.filePath("20240315093000.klb").toStdString();
    WriteFileDurably(path_, "old words");
  }
  QTemporaryDir dir_;
  std::string path_;
};

TEST_F(DurableFileTest, ReplacesTheFileOnlyOnCommitAndLeavesNothingBehind) {
  chmod(path_.c_str(), 0640);
  {
    DurableFile file(path_);
    file.Write("new words");
    EXPECT_EQ(ReadAll(path_), "old words") << "not before the commit";
    EXPECT_TRUE(IsTemporaryFileName(
        QFileInfo(QString::fromStdString(file.TemporaryPath())).fileName().toStdString()));
    file.Commit();
  }
  EXPECT_EQ(ReadAll(path_), "new words");
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "a replaced file keeps who may read it";
  {
    DurableFile abandoned(path_);
    abandoned.Write("half");
  }
  EXPECT_EQ(ReadAll(path_), "new words");
  EXPECT_EQ(FilesIn(dir_), QStringList{"20240315093000.klb"});
}

// One system call at a time fails as a failing disk makes it fail: the old file stays whole,
// the temporary file goes, and the failure names the file and the reason.
TEST_F(DurableFileTest, AFailureAtAnyStepLeavesTheOldFileWhole) {
  struct Case {
    const char* step;
    SystemCalls calls;
    const char* reason;
  };
  SystemCalls flushFails = RealSystemCalls();
  flushFails.fdatasync = [](int) { return errno = EIO, -1; };
  SystemCalls diskFull = RealSystemCalls();
  diskFull.write = [](int, const void*, size_t) -> ssize_t { return errno = ENOSPC, -1; };
  SystemCalls shortWrites = RealSystemCalls();
  shortWrites.write = [](int fd, const void* data, size_t size) -> ssize_t {
    static bool first = true;
    if (!first) return 0;
    first = false;
    return ::write(fd, data, size / 2);
  };
  SystemCalls quota = RealSystemCalls();
  quota.close = [](int fd) { return ::close(fd), errno = EDQUOT, -1; };
  SystemCalls renameFails = RealSystemCalls();
  renameFails.rename = [](const char*, const char*) { return errno = EACCES, -1; };
  const Case cases[] = {
      {"flush", flushFails, "Input/output error"},      {"write", diskFull, "The disk is full"},
      {"short write", shortWrites, "The disk is full"}, {"close", quota, "The disk is full"},
      {"rename", renameFails, "Permission denied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    ScopedSystemCalls failing(c.calls);
    try {
      WriteFileDurably(path_, "new words that never land");
      ADD_FAILURE() << "reported as saved";
    } catch (const FileError& failure) {
      EXPECT_EQ(std::string(failure.what()), "Cannot write file \"" + path_ + "\". " + c.reason);
    }
    EXPECT_EQ(ReadAll(path_), "old words");
    EXPECT_EQ(FilesIn(dir_), QStringList{"20240315093000.klb"});
  }
}

TEST_F(DurableFileTest, AFailedFolderFlushIsReportedAfterTheRename) {
  SystemCalls folderFails = RealSystemCalls();
  folderFails.fsync = [](int) { return errno = EIO, -1; };
  ScopedSystemCalls failing(folderFails);
  EXPECT_THROW(WriteFileDurably(path_, "new"), FileError);
  EXPECT_EQ(FilesIn(dir_), QStringList{"20240315093000.klb"});
}

TEST_F(DurableFileTest, AFolderThatRefusesNewFilesIsReportedAtCreation) {
  const std::string inProc = "/proc/self/fdinfo/entry.klb";
  try {
    DurableFile file(inProc);
    ADD_FAILURE() << "created";
  } catch (const FileError& failure) {
    EXPECT_EQ(std::string(failure.what()).rfind("Cannot create file \"" + inProc + "\". ", 0), 0u);
  }
}

TEST(TemporaryFiles, OnlyOurStaleTemporaryFilesAreRemoved) {
  QTemporaryDir dir;
  const auto make = [&](const QString& name, std::time_t age) {
    const std::string path = dir.filePath(name).toStdString();
    WriteFileDurably(path, "x");
    const utimbuf times{std::time(nullptr) - age, std::time(nullptr) - age};
    utime(path.c_str(), &times);
  };
  make(".20240315093000.klb.klsave-a1B2c3", 2 * 3600);  // left by a killed program
  make(".journal.ini.klsave-zzzzzz", 2 * 3600);
  make(".20240316181205.klb.klsave-Q9w8e7", 60);  // another program is writing it now
  make("20240315093000.klb", 2 * 3600);
  make("notes.klsave-abcdef", 2 * 3600);  // not one of ours: ours are hidden
  make(".profile", 2 * 3600);
  EXPECT_EQ(RemoveStaleTemporaryFiles(dir.path().toStdString()), 2);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
            (QStringList{".20240316181205.klb.klsave-Q9w8e7", ".profile", "20240315093000.klb",
                         "notes.klsave-abcdef"}));
  EXPECT_EQ(RemoveStaleTemporaryFiles("/no/such/folder"), 0);
}

}  // namespace
}  // namespace files
