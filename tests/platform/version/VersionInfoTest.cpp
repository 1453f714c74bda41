#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <string>

#include "platform/version/VersionInfo.h"
#include "platform/version/VersionRecord.h"

namespace {

using namespace version;

std::string RecordBytes(const VersionInfoRecord& record) {
  return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

// The key of a block alone, as a program's text may hold it.
std::string KeyOnly() {
  std::string key;
  for (char16_t c : kVersionInfoKey) key += {char(c & 0xFF), char(c >> 8)};
  return key;
}

class VersionInfoTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    const QString path = dir_.filePath(QStringLiteral("program"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), qint64(bytes.size()));
    return path.toStdString();
  }

  // The file version's four parts as "a.b.c.d", or "none".
  static std::string FileVersion(const std::string& path) {
    const DWORD size = GetFileVersionInfoSize(path);
    if (size == 0) return "none";
    std::string block(size, '\0');
    if (!GetFileVersionInfo(path, size, block.data())) return "unreadable";
    const void* value = nullptr;
    DWORD length = 0;
    if (!VerQueryValue(block.data(), size, "\\", &value, &length)) return "no record";
    EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, value, sizeof info);
    return std::to_string(info.dwFileVersionMS >> 16) + "." +
           std::to_string(info.dwFileVersionMS & 0xFFFF) + "." +
           std::to_string(info.dwFileVersionLS >> 16) + "." +
           std::to_string(info.dwFileVersionLS & 0xFFFF);
  }

  QTemporaryDir dir_;
};

TEST_F(VersionInfoTest, FindsTheRecordAmongTheProgramsBytes) {
  const std::string junk(1000, '\x90');
  // The key alone comes first, as the reader's own text holds it: it is passed over.
  const std::string file =
      junk + KeyOnly() + junk + RecordBytes(MakeVersionRecord(2, 5, 7, 9)) + junk;
  const std::string path = Write(file);
  EXPECT_EQ(GetFileVersionInfoSize(path), sizeof(VersionInfoRecord));
  EXPECT_EQ(FileVersion(path), "2.5.7.9");
}

TEST_F(VersionInfoTest, AnswersNothingWithoutASoundRecord) {
  VersionInfoRecord unsigned_ = MakeVersionRecord(1, 0, 0, 36);
  unsigned_.value.dwSignature = 0;
  const std::string whole = RecordBytes(MakeVersionRecord(1, 0, 0, 36));
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"no record", std::string(4096, 'x')},
      {"empty file", ""},
      {"the key alone", KeyOnly()},
      {"wrong signature", RecordBytes(unsigned_)},
      {"cut short at the end", whole.substr(0, whole.size() - 4)},
  };
  for (const auto& c : cases) {
    const std::string path = Write(c.bytes);
    EXPECT_EQ(GetFileVersionInfoSize(path), 0u) << c.name;
    EXPECT_EQ(FileVersion(path), "none") << c.name;
  }
  EXPECT_EQ(GetFileVersionInfoSize(dir_.filePath("missing").toStdString()), 0u);
}

TEST_F(VersionInfoTest, KeepsOnlyTheRootBlock) {
  const VersionInfoRecord record = MakeVersionRecord(1, 0, 0, 36);
  const void* value = nullptr;
  DWORD length = 0;
  EXPECT_FALSE(VerQueryValue(&record, sizeof record, "\\StringFileInfo", &value, &length));
  EXPECT_FALSE(VerQueryValue(&record, sizeof record - 1, "\\", &value, &length));
  ASSERT_TRUE(VerQueryValue(&record, sizeof record, "\\", &value, &length));
  EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwSignature, 0xFEEF04BDu);
}

}  // namespace
