#include "framework/graphics/BmpReader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

#include "tests/framework/graphics/BmpFile.h"

namespace kl::testing {
namespace {

std::vector<std::uint8_t> Rows(std::size_t bytes, std::uint8_t seed = 1) {
  std::vector<std::uint8_t> rows(bytes);
  for (std::size_t i = 0; i < bytes; ++i) rows[i] = std::uint8_t(seed + i * 7);
  return rows;
}

TEST(BmpReader, KeepsAnOrdinaryFilesOwnLayout) {
  const struct {
    const char* name;
    BmpFile file;
    std::uint32_t compression;
    std::size_t infoSize;
  } cases[] = {
      {"1 bit", {40, 9, 2, 1, 0, 0, {}, {0x000000, 0xFFFFFF}, Rows(8)}, 0, 48},
      {"4 bits, 3 colours", {40, 3, 2, 4, 0, 3, {}, {1, 2, 3}, Rows(8)}, 0, 52},
      {"8 bits, 16 colours",
       {40, 2, 2, 8, 0, 16, {}, std::vector<std::uint32_t>(16, 7), Rows(8)},
       0,
       104},
      {"16 bits", {40, 3, 2, 16, 0, 0, {}, {}, Rows(16)}, 0, 40},
      {"16 bits, masks", {40, 3, 2, 16, 3, 0, {0xF800, 0x07E0, 0x001F}, {}, Rows(16)}, 3, 52},
      {"24 bits", {40, 5, 3, 24, 0, 0, {}, {}, Rows(48)}, 0, 40},
      {"32 bits, masks", {40, 2, 2, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF}, {}, Rows(16)}, 3, 52},
      {"V4, 32 bits, masks", {108, 2, 2, 32, 3, 0, {0xFF, 0xFF00, 0xFF0000}, {}, Rows(16)}, 3, 52},
      {"V5, 24 bits", {124, 2, 2, 24, 0, 0, {}, {}, Rows(16)}, 0, 40},
      {"core, 8 bits",
       {12, 2, 2, 8, 0, 0, {}, std::vector<std::uint32_t>(256, 0x0A0B0C), Rows(8)},
       0,
       40 + 1024},
  };
  for (const auto& c : cases) {
    TDib dib;
    ASSERT_EQ(ReadBmp(c.file.Bytes(), dib), BmpError::None) << c.name;
    EXPECT_EQ(dib.width, c.file.width) << c.name;
    EXPECT_EQ(dib.height, c.file.height) << c.name;
    EXPECT_EQ(dib.bitCount, c.file.bitCount) << c.name;
    EXPECT_EQ(dib.compression, c.compression) << c.name;
    EXPECT_EQ(dib.InfoSize(), c.infoSize) << c.name;
    EXPECT_EQ(dib.bits, c.file.pixels) << c.name;
    if (!c.file.colours.empty()) {
      EXPECT_EQ(dib.colours, c.file.colours) << c.name;
    }
    if (!c.file.masks.empty()) {
      EXPECT_EQ(std::vector<std::uint32_t>(dib.masks.begin(), dib.masks.end()), c.file.masks)
          << c.name;
    }
  }
}

TEST(BmpReader, ReadsWhatQtWrites) {
  QImage image(7, 5, QImage::Format_RGB32);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x) image.setPixel(x, y, qRgb(x * 30, y * 50, 200));
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  ASSERT_TRUE(image.save(&buffer, "BMP"));
  TDib dib;
  ASSERT_EQ(
      ReadBmp({reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())},
              dib),
      BmpError::None);
  ASSERT_EQ(dib.bitCount, 24);
  // Bottom row first, blue, green, red.
  const std::uint8_t* bottomLeft = dib.bits.data();
  EXPECT_EQ(bottomLeft[0], 200);
  EXPECT_EQ(bottomLeft[1], 4 * 50);
  EXPECT_EQ(bottomLeft[2], 0);
}

TEST(BmpReader, TopDownRowsAreKeptBottomRowFirst) {
  BmpFile file{40, 1, -3, 8, 0, 0, {}, std::vector<std::uint32_t>(256, 0), {}};
  file.pixels = {10, 0, 0, 0, 20, 0, 0, 0, 30, 0, 0, 0};  // top row first
  TDib dib;
  ASSERT_EQ(ReadBmp(file.Bytes(), dib), BmpError::None);
  EXPECT_EQ(dib.height, 3);
  EXPECT_EQ(dib.bits, (std::vector<std::uint8_t>{30, 0, 0, 0, 20, 0, 0, 0, 10, 0, 0, 0}));
}

TEST(BmpReader, RunLengthDataBecomePlainRows) {
  // 8 bits: a run of 3 fives, end of line; a literal run of 3 (padded to a word), a move up
  // by one row, one 9, end of picture.
  BmpFile rle8{40, 4, 3, 8, 1, 4, {}, {0, 1, 2, 3}, {}};
  rle8.pixels = {3, 5, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 0, 1, 1, 9, 0, 1};
  TDib dib;
  ASSERT_EQ(ReadBmp(rle8.Bytes(), dib), BmpError::None);
  EXPECT_EQ(dib.compression, BI_RGB);
  EXPECT_EQ(dib.bits, (std::vector<std::uint8_t>{5, 5, 5, 0, 1, 2, 3, 0, 0, 0, 0, 9}));

  // 4 bits: a run of 5 alternating 1 and 2, end of line, a literal run of 3 nibbles 3, 4, 5.
  BmpFile rle4{40, 5, 2, 4, 2, 0, {}, std::vector<std::uint32_t>(16, 0), {}};
  rle4.pixels = {5, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1};
  ASSERT_EQ(ReadBmp(rle4.Bytes(), dib), BmpError::None);
  EXPECT_EQ(dib.bits, (std::vector<std::uint8_t>{0x12, 0x12, 0x10, 0, 0x34, 0x50, 0, 0}));
}

TEST(BmpReader, RowsCutShortKeepThePartThatIsThere) {
  BmpFile file{40, 2, 10, 24, 0, 0, {}, {}, Rows(8 * 3 + 5)};  // three whole rows and a bit
  TDib dib;
  ASSERT_EQ(ReadBmp(file.Bytes(), dib), BmpError::None);
  EXPECT_EQ(dib.height, 3);
  EXPECT_EQ(dib.bits.size(), 24u);
}

TEST(BmpReader, HostileFilesGetAnErrorOrThePartThatIsThere) {
  auto with = [](auto change) {
    BmpFile file{40, 4, 4, 8, 0, 0, {}, std::vector<std::uint32_t>(256, 1), Rows(16)};
    change(file);
    return file.Bytes();
  };
  std::vector<std::uint8_t> notBm = with([](BmpFile&) {});
  notBm[0] = 'X';
  std::vector<std::uint8_t> tableCut = with([](BmpFile& f) { f.pixels.clear(); });
  tableCut.resize(14 + 40 + 100);
  std::vector<std::uint8_t> masksCut = with(
      [](BmpFile& f) { f.bitCount = 16, f.compression = 3, f.colours.clear(), f.pixels.clear(); });
  masksCut.resize(14 + 40 + 4);
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    BmpError error;
  } cases[] = {
      {"empty", {}, BmpError::NotABitmap},
      {"no signature", notBm, BmpError::NotABitmap},
      {"header size 13", with([](BmpFile& f) { f.headerSize = 13; }), BmpError::BadHeader},
      {"header past the end", with([](BmpFile& f) { f.headerSize = 4000; }), BmpError::BadHeader},
      {"width 0", with([](BmpFile& f) { f.width = 0; }), BmpError::BadHeader},
      {"height 0", with([](BmpFile& f) { f.height = 0; }), BmpError::BadHeader},
      {"3 bits", with([](BmpFile& f) { f.bitCount = 3; }), BmpError::BadHeader},
      {"JPEG inside", with([](BmpFile& f) { f.compression = 4; }), BmpError::BadHeader},
      {"RLE8 at 24 bits", with([](BmpFile& f) { f.compression = 1, f.bitCount = 24; }),
       BmpError::BadHeader},
      {"colour table past the end", tableCut, BmpError::BadColourTable},
      {"masks past the end", masksCut, BmpError::BadColourTable},
      {"no pixels", with([](BmpFile& f) { f.pixels.clear(); }), BmpError::NoPixelData},
      {"huge, rows missing", with([](BmpFile& f) { f.width = 1 << 20, f.height = 1 << 20; }),
       BmpError::NoPixelData},
      {"huge width", with([](BmpFile& f) { f.width = INT32_MAX; }), BmpError::TooLarge},
      {"huge run-length picture",
       with([](BmpFile& f) { f.compression = 1, f.width = 100000, f.height = 100000; }),
       BmpError::TooLarge},
  };
  for (const auto& c : cases) {
    TDib dib;
    EXPECT_EQ(ReadBmp(c.bytes, dib), c.error) << c.name;
    EXPECT_TRUE(dib.bits.empty()) << c.name;
  }
}

TEST(BmpReader, RunLengthDataRunningOffThePictureStopAtItsEdges) {
  BmpFile file{40, 2, 2, 8, 1, 0, {}, std::vector<std::uint32_t>(256, 0), {}};
  // A run past the row's end, a move far past the top, a literal run cut off by the end.
  file.pixels = {255, 7, 0, 2, 255, 255, 0, 200, 1, 2};
  TDib dib;
  ASSERT_EQ(ReadBmp(file.Bytes(), dib), BmpError::None);
  EXPECT_EQ(dib.bits, (std::vector<std::uint8_t>{7, 7, 0, 0, 0, 0, 0, 0}));
}

// The files other programs write (ImageMagick's info, V4 and V5 headers, run-length data) and a
// few made by hand, as the fuzz target starts from them.
TEST(BmpReader, ReadsTheSampleFiles) {
  const QDir corpus(QStringLiteral(KL_TEST_DATA "/../../fuzz/corpus/bmp"));
  const QStringList names = corpus.entryList({QStringLiteral("*.bmp")}, QDir::Files);
  ASSERT_GE(names.size(), 8);
  for (const QString& name : names) {
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    TDib dib;
    EXPECT_EQ(ReadBmp({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       std::size_t(bytes.size())},
                      dib),
              BmpError::None)
        << name.toStdString();
    EXPECT_EQ(dib.bits.size(), dib.ImageSize()) << name.toStdString();
  }
}

}  // namespace
}  // namespace kl::testing
