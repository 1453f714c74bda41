#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "framework/Exception.h"
#include "framework/FileStream.h"
#include "framework/MemoryStream.h"

namespace kl {
namespace {

std::string ReadAll(const std::string& path) {
  QFile f(QString::fromStdString(path));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return f.readAll().toStdString();
}

TEST(MemoryStreamTest, WritesReadsAndSeeks) {
  TMemoryStream stream;
  EXPECT_EQ(stream.Write("abcdef", 6), 6);
  EXPECT_EQ(stream.Position(), 6);
  EXPECT_EQ(stream.Size(), 6);
  EXPECT_EQ(stream.Seek(-2, TSeekOrigin::soEnd), 4);
  char buf[8] = {};
  EXPECT_EQ(stream.Read(buf, 8), 2);  // only what is left
  EXPECT_STREQ(buf, "ef");
  EXPECT_EQ(stream.Read(buf, 8), 0);
  stream.SetPosition(1);
  stream.Write("XY", 2);  // overwrites in place
  TStringStream copy(std::string(stream.Memory(), std::size_t(stream.Size())));
  EXPECT_EQ(copy.DataString(), "aXYdef");
  EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soBeginning), -1);
  EXPECT_THROW(stream.ReadBuffer(buf, 100), Exception);
}

TEST(FileStreamTest, SaveReplacesTheFileOnlyOnCommit) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("entry.klb").toStdString();
  {
    TFileStream out(path, TFileMode::fmCreate);
    out.WriteBuffer("old", 3);
    out.Commit();
  }
  {
    TFileStream abandoned(path, TFileMode::fmCreate);
    abandoned.WriteBuffer("half", 4);
  }  // never committed: the old file stays whole
  EXPECT_EQ(ReadAll(path), "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);

  TFileStream in(path, TFileMode::fmOpenRead);
  EXPECT_EQ(in.Size(), 3);
  char buf[4] = {};
  EXPECT_EQ(in.Read(buf, 4), 3);
  EXPECT_STREQ(buf, "old");
}

TEST(FileStreamTest, OpeningFailuresNameTheFile) {
  QTemporaryDir dir;
  const std::string missing = dir.filePath("missing.klb").toStdString();
  try {
    TFileStream in(missing, TFileMode::fmOpenRead);
    FAIL() << "opened a missing file";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("Cannot open file \"" + missing + "\""), std::string::npos);
  }
  EXPECT_THROW(TFileStream(dir.filePath("no/such/folder/x.klb").toStdString(), TFileMode::fmCreate),
               Exception);
}

}  // namespace
}  // namespace kl
