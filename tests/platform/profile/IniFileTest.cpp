// The profile file on disk: reads and writes go to the file, writes replace it whole, failures
// name the file, and the kept copy never hides a change made on disk.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "platform/profile/IniFile.h"
#include "platform/profile/ProfileError.h"

namespace profile {
namespace {

class IniFileTest : public ::testing::Test {
 protected:
  std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

  static QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
  }

  static void Put(const std::string& path, const QByteArray& bytes) {
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }

  QTemporaryDir dir_;
};

TEST_F(IniFileTest, MissingFileReadsAsEmptyAndTheFirstWriteCreatesIt) {
  const std::string path = PathOf("journal.ini");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Journal", "2", "none"), "none");
  EXPECT_EQ(ini.ReadInteger("Journal", "Count", 1), 1);
  EXPECT_TRUE(ini.ReadKeyNames("Journal").empty());
  EXPECT_FALSE(QFile::exists(QString::fromStdString(path))) << "reads never create the file";

  ini.WriteString("Journal", "2", "Sit");
  ini.WriteString("Entries", "2", "/j/20240315093000.klb");
  EXPECT_EQ(Bytes(path), "[Journal]\r\n2=Sit\r\n[Entries]\r\n2=/j/20240315093000.klb\r\n");
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"journal.ini"})
      << "no temporary file is left beside the index";
}

TEST_F(IniFileTest, ValuesComeBackThroughTheReadBuffer) {
  IniFile ini(PathOf("journal.ini"));
  // Characters, not bytes: every "ü" is two bytes in the file.
  const QString title = QString(3000, QChar(0x00FC));
  ini.WriteString("Journal", "2", title.toStdString());
  EXPECT_EQ(QString::fromStdString(ini.ReadString("Journal", "2", "")), title.left(2047));
  EXPECT_EQ(ini.ReadSectionValues("Journal").at(0).second, title.toStdString())
      << "the file keeps the whole value";
}

TEST_F(IniFileTest, KeyListStopsAtTheFirstNameThatDoesNotFitTheBuffer) {
  // 4,095 names of four characters take 4,095 * 5 + 1 = 20,476 characters; the buffer of 16,384
  // holds the first 3,276 of them (3,276 * 5 + 1 = 16,381), the next would need 16,386.
  std::string text = "[Journal]\r\n";
  for (int key = 1000; key < 5095; ++key) text += std::to_string(key) + "=t\r\n";
  Put(PathOf("journal.ini"), QByteArray::fromStdString(text));
  IniFile ini(PathOf("journal.ini"));
  const auto limited = ini.ReadKeyNames("Journal");
  ASSERT_EQ(limited.size(), 3276u);
  EXPECT_EQ(limited.front(), "1000");
  EXPECT_EQ(limited.back(), "4275");
  EXPECT_EQ(ini.ReadKeyNames("Journal", KeyListLimit::None).size(), 4095u);
}

// One write must not re-encode the rest of the file: a Windows-1252 path would no longer name
// its file. Only the line written changes, and it is UTF-8 with CR LF.
TEST_F(IniFileTest, IndexFromTheOriginalPlatformReadsAndKeepsTheLinesNotWritten) {
  const std::string path = PathOf("journal.ini");
  ASSERT_TRUE(QFile::copy(KL_TEST_DATA "/profile/journal-1252.ini", QString::fromStdString(path)));
  const QByteArray before = Bytes(path);
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Journal", "2", ""), "Übung mit Ball");
  EXPECT_EQ(ini.ReadString("Journal", "3", ""), "“Platz” € 50 – gut");
  EXPECT_EQ(ini.ReadInteger("Journal", "Count", 1), 3);

  ini.WriteString("Journal", "Count", "4");
  ini.WriteString("Journal", "4", "Fuß");
  QByteArray expected = before;
  expected.replace("Count=3\r\n", "Count=4\r\n");
  expected.replace("gut\r\n[Entries]", "gut\r\n4=Fu\xC3\x9F\r\n[Entries]");
  EXPECT_EQ(Bytes(path), expected);
  EXPECT_EQ(ini.ReadString("Journal", "3", ""), "“Platz” € 50 – gut");
}

// Line ends of every kind stay as they are; lines the program adds end in CR LF, and a last
// line without an end gets one when a line is added after it.
TEST_F(IniFileTest, LineEndsOfTheLinesNotWrittenStayAsTheyAre) {
  const std::string path = PathOf("journal.ini");
  Put(path, "\xEF\xBB\xBF[Journal]\r2=Sit\n; note \r\nCount=2\r[Entries]\r2=/j/1.klb");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("Entries", "2", ""), "/j/1.klb") << "CR alone ends a line";
  EXPECT_EQ(ini.ReadInteger("Journal", "Count", 1), 2);
  ini.WriteStrings({{"Journal", "3", "Down"}, {"Entries", "3", "/j/2.klb"}});
  EXPECT_EQ(Bytes(path), QByteArray("\xEF\xBB\xBF[Journal]\r2=Sit\n; note \r\nCount=2\r3=Down\r\n"
                                    "[Entries]\r2=/j/1.klb\r\n3=/j/2.klb\r\n"));
}

TEST_F(IniFileTest, AllKeyNamesTakeInRepeatedSectionsAndKeysBeforeAnySection) {
  const std::string path = PathOf("journal.ini");
  Put(path, "7=stray\r\n[Journal]\r\n2=a\r\n[Entries]\r\n2=x\r\n[Journal]\r\n9=b\r\n");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadAllKeyNames(), (std::vector<std::string>{"7", "2", "2", "9"}));
  EXPECT_EQ(ini.ReadKeyNames("Journal"), std::vector<std::string>{"2"})
      << "the first of a repeated section is the one read";
}

TEST_F(IniFileTest, StartingAfreshReadsEmptyAndTheNextWriteReplacesTheFile) {
  const std::string path = PathOf("journal.ini");
  Put(path, QByteArray("[Journal]\r\n2=a\0\0\r\n", 18));
  IniFile ini(path);
  ini.StartAfresh();
  EXPECT_TRUE(ini.ReadKeyNames("Journal").empty());
  EXPECT_EQ(Bytes(path), QByteArray("[Journal]\r\n2=a\0\0\r\n", 18)) << "nothing written yet";
  ini.WriteString("Journal", "2", "Sit");
  EXPECT_EQ(Bytes(path), QByteArray("[Journal]\r\n2=Sit\r\n"));
}

TEST_F(IniFileTest, ChangesMadeOnDiskAreSeenAtOnce) {
  const std::string path = PathOf("journal.ini");
  IniFile ini(path);
  ini.WriteString("Journal", "Count", "7");
  ASSERT_EQ(ini.ReadInteger("Journal", "Count", 1), 7);

  // Rewritten in place within the same second, same size: only the nanoseconds differ.
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  Put(path, "[Journal]\r\nCount=8\r\n");
  timespec times[2] = {before.st_atim, before.st_mtim};
  times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_EQ(ini.ReadInteger("Journal", "Count", 1), 8);

  // Replaced by another file of the same size (a new inode).
  Put(PathOf("other.ini"), "[Journal]\r\nCount=9\r\n");
  ASSERT_TRUE(::rename(PathOf("other.ini").c_str(), path.c_str()) == 0);
  EXPECT_EQ(ini.ReadInteger("Journal", "Count", 1), 9);

  ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
  EXPECT_EQ(ini.ReadInteger("Journal", "Count", 1), 1);
}

TEST_F(IniFileTest, RefusedWriteNamesTheFileAndChangesNothing) {
  // A folder on the path that is a file refuses the write even to root.
  Put(PathOf("Program"), "not a folder");
  const std::string path = PathOf("Program") + "/journal.ini";
  IniFile ini(path);
  try {
    ini.WriteString("Journal", "2", "Sit");
    FAIL() << "the write should have been refused";
  } catch (const WriteError& failure) {
    EXPECT_EQ(std::string(failure.what()), "Unable to write to " + path);
  }
  EXPECT_EQ(ini.ReadString("Journal", "2", "none"), "none");
}

TEST_F(IniFileTest, UnreadableIndexIsNeitherReadAsEmptyNorReplaced) {
  // Reading nothing and then writing would replace a whole journal by one value.
  const std::string path = PathOf("journal.ini");
  ASSERT_TRUE(QDir(dir_.path()).mkdir("journal.ini"));
  IniFile ini(path);
  EXPECT_THROW(ini.ReadKeyNames("Journal"), ReadError);
  try {
    ini.WriteString("Journal", "2", "Sit");
    FAIL() << "the write should have been refused";
  } catch (const ReadError& failure) {
    EXPECT_EQ(std::string(failure.what()), "Unable to read from " + path);
  }
  EXPECT_TRUE(QFileInfo(QString::fromStdString(path)).isDir());
}

TEST_F(IniFileTest, SeveralValuesLandInOneReplacement) {
  const std::string path = PathOf("journal.ini");
  IniFile ini(path);
  ini.WriteStrings(
      {{"Journal", "2", "Sit"}, {"Entries", "2", "/j/a.klb"}, {"Journal", "Count", "2"}});
  EXPECT_EQ(Bytes(path), "[Journal]\r\n2=Sit\r\nCount=2\r\n[Entries]\r\n2=/j/a.klb\r\n");
  // A refused name in the batch leaves the file as it was.
  EXPECT_THROW(ini.WriteStrings({{"Journal", "3", "Down"}, {"Journal", "a=b", "x"}}),
               std::invalid_argument);
  EXPECT_EQ(Bytes(path), "[Journal]\r\n2=Sit\r\nCount=2\r\n[Entries]\r\n2=/j/a.klb\r\n");
  EXPECT_FALSE(ini.ValueExists("Journal", "3"));
}

}  // namespace
}  // namespace profile
