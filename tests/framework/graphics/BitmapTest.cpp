#include "framework/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "framework/Exception.h"
#include "tests/framework/graphics/BmpFile.h"

namespace kl::testing {
namespace {

std::string FailureOf(TBitmap& bitmap, const std::string& path) {
  try {
    bitmap.LoadFromFile(path);
  } catch (const Exception& failure) {
    return failure.what();
  }
  return "loaded";
}

TEST(Bitmap, LoadsAFileAndNamesWhatIsWrongWithOthers) {
  QTemporaryDir dir;
  const std::string good = dir.filePath("good.bmp").toStdString();
  const std::string text = dir.filePath("notes.txt").toStdString();
  const std::string missing = dir.filePath("missing.bmp").toStdString();
  const std::vector<std::uint8_t> bytes =
      BmpFile{40, 2, 1, 24, 0, 0, {}, {}, std::vector<std::uint8_t>(8, 9)}.Bytes();
  QFile(QString::fromStdString(good)).open(QIODevice::WriteOnly);
  {
    QFile file(QString::fromStdString(good));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    QFile notes(QString::fromStdString(text));
    ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    notes.write("Sit, stay, come.");
  }
  TBitmap bitmap;
  EXPECT_EQ(FailureOf(bitmap, good), "loaded");
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_EQ(FailureOf(bitmap, text), "Bitmap image is not valid");
  EXPECT_EQ(FailureOf(bitmap, missing),
            "Cannot open file \"" + missing + "\". No such file or directory");
  EXPECT_EQ(FailureOf(bitmap, dir.path().toStdString()).rfind("Cannot open file", 0), 0u);
  // A failed load leaves the bitmap as it was.
  EXPECT_EQ(bitmap.Width(), 2);
  EXPECT_FALSE(bitmap.Empty());
}

}  // namespace
}  // namespace kl::testing
