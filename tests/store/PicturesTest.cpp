#include "store/Pictures.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include "framework/Exception.h"
#include "framework/MemoryStream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Photo.h"
#include "platform/richedit/RichEditOle.h"

namespace kl {
namespace {

TBitmap BitmapOf(int width, int height, int bitCount, std::uint32_t compression = BI_RGB,
                 std::uint32_t clrUsed = 0) {
  TDib dib;
  dib.width = width;
  dib.height = height;
  dib.bitCount = std::uint16_t(bitCount);
  dib.compression = compression;
  dib.clrUsed = clrUsed;
  dib.colours.assign(dib.ColourCount(), 0x00FFFFFF);
  dib.bits.assign(dib.ImageSize(), 0);
  TBitmap bitmap;
  bitmap.SetDib(std::move(dib));
  return bitmap;
}

// The number of bytes the fragment's digits stand for, less the pixel data: the information
// block's size.
std::size_t InfoBytes(const std::string& fragment, const TBitmap& bitmap) {
  return (fragment.size() - 26) / 2 - bitmap.Dib().ImageSize();
}

TEST(BitmapToRTF, OneRedPixelMakesTheWorkedExample) {
  TBitmap bitmap = BitmapOf(1, 1, 24);
  TDib dib = bitmap.Dib();
  dib.bits = {0x00, 0x00, 0xFF, 0x00};
  bitmap.SetDib(dib);
  std::string fragment;
  BitmapToRTF(bitmap, fragment);
  EXPECT_EQ(fragment,
            "{\\rtf1 {\\pict\\dibitmap "
            "28000000010000000100000001001800000000000400000000000000000000000000000000000000"
            "0000FF00 }}");
  EXPECT_EQ(fragment.size(), 114u);
  EXPECT_EQ(fragment.capacity(), fragment.size()) << "the text is made at its final length";
}

TEST(BitmapToRTF, InformationBlockSizes) {
  const struct {
    const char* name;
    TBitmap bitmap;
    std::size_t info;
  } cases[] = {
      {"1 bit: two colours", BitmapOf(3, 2, 1), 48},
      {"8 bits, 16 colours used", BitmapOf(3, 2, 8, BI_RGB, 16), 104},
      {"16 bits with masks", BitmapOf(3, 2, 16, BI_BITFIELDS), 52},
      {"16 bits without masks", BitmapOf(3, 2, 16), 40},
  };
  for (const auto& c : cases) {
    std::string fragment;
    BitmapToRTF(c.bitmap, fragment);
    EXPECT_EQ(InfoBytes(fragment, c.bitmap), c.info) << c.name;
    EXPECT_EQ(fragment.find_first_not_of("0123456789ABCDEF", 23), fragment.size() - 3) << c.name;
  }
}

TEST(StreamInCallback, DeliversWhatRemainsInTheChunksAskedFor) {
  TStringStream stream("0123456789");
  std::uint8_t buffer[16] = {};
  std::int32_t delivered = -1;
  const auto cookie = reinterpret_cast<std::uintptr_t>(&stream);
  EXPECT_EQ(StreamInCallback(cookie, buffer, 4, &delivered), 0u);
  EXPECT_EQ(delivered, 4);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), "0123");
  EXPECT_EQ(StreamInCallback(cookie, buffer, 16, &delivered), 0u);
  EXPECT_EQ(delivered, 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 6), "456789");
  EXPECT_EQ(StreamInCallback(cookie, buffer, 16, &delivered), 0u);
  EXPECT_EQ(delivered, 0);
}

TEST(PictureGoalSize, FitsAPagesText) {
  int w = 0, h = 0;
  PictureGoalSize(100, 50, w, h);
  EXPECT_EQ(std::pair(w, h), std::pair(1500, 750));
  PictureGoalSize(4000, 3000, w, h);  // 6.5 inches wide
  EXPECT_EQ(std::pair(w, h), std::pair(9360, 7020));
  PictureGoalSize(1000, 4000, w, h);  // 9 inches high
  EXPECT_EQ(std::pair(w, h), std::pair(3240, 12960));
}

class PhotoToRTFTest : public ::testing::Test {
 protected:
  std::string Write(const QByteArray& bytes, const char* name) {
    const QString path = dir_.filePath(QLatin1String(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path.toStdString();
  }

  static QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return bytes;
  }

  // A JPEG 40 wide and 20 high, marked "turn 90 degrees clockwise to show" in its EXIF block.
  static QByteArray SidewaysJpeg() {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QByteArray jpeg = Encoded(image, "JPEG");
    // APP1 "Exif": a little-endian TIFF header and one IFD entry, Orientation (0x0112) = 6.
    const QByteArray tiff = QByteArray::fromHex(
        "49492A0008000000"          // II*, first IFD at 8
        "0100"                      // one entry
        "120103000100000006000000"  // tag 0x0112, SHORT, count 1, value 6
        "00000000");                // no next IFD
    QByteArray app1 = "Exif" + QByteArray(2, '\0') + tiff;
    const int length = app1.size() + 2;
    QByteArray segment = QByteArray::fromHex("FFE1");
    segment.append(char(length >> 8)).append(char(length & 0xFF)).append(app1);
    return jpeg.left(2) + segment + jpeg.mid(2);
  }

  // The bytes the fragment's digits stand for.
  static QByteArray DataOf(const std::string& fragment) {
    const std::size_t start = fragment.rfind(' ', fragment.size() - 4) + 1;
    return QByteArray::fromHex(
        QByteArray::fromStdString(fragment.substr(start, fragment.size() - 3 - start)));
  }

  QTemporaryDir dir_;
};

TEST_F(PhotoToRTFTest, AnUprightPhotoIsKeptByteForByte) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(Qt::darkGreen);
  for (const char* format : {"JPEG", "PNG"}) {
    const QByteArray bytes = Encoded(image, format);
    TPhoto photo;
    photo.LoadFromFile(Write(bytes, "photo"));
    std::string fragment;
    PhotoToRTF(photo, fragment);
    const std::string kind = format == std::string("PNG") ? "pngblip" : "jpegblip";
    EXPECT_EQ(
        fragment.rfind(
            "{\\rtf1 {\\pict\\" + kind + "\\picw300\\pich200\\picwgoal4500\\pichgoal3000 ", 0),
        0u)
        << format;
    EXPECT_EQ(DataOf(fragment), bytes) << format;
    EXPECT_TRUE(fragment.ends_with(" }}"));
  }
}

TEST_F(PhotoToRTFTest, ASidewaysPhotoIsTurnedUprightOnce) {
  TPhoto photo;
  photo.LoadFromFile(Write(SidewaysJpeg(), "sideways.jpg"));
  EXPECT_EQ(photo.Width(), 20);
  EXPECT_EQ(photo.Height(), 40);
  QBuffer buffer;
  buffer.setData(photo.Bytes());
  QImageReader reader(&buffer, "jpeg");
  EXPECT_EQ(reader.transformation(), QImageIOHandler::TransformationNone);
  EXPECT_EQ(reader.size(), QSize(20, 40));
}

TEST_F(PhotoToRTFTest, APhotoThatDoesNotDecodeIsRefused) {
  QImage image(300, 200, QImage::Format_RGB32);
  image.fill(Qt::blue);
  const QByteArray png = Encoded(image, "PNG");
  const QByteArray jpeg = Encoded(image, "JPEG");
  for (const QByteArray& bytes :
       {png.left(40), jpeg.left(4), QByteArray("\xFF\xD8\xFF\xE0 not a jpeg at all")}) {
    TPhoto photo;
    try {
      photo.LoadFromFile(Write(bytes, "broken"));
      ADD_FAILURE() << "taken: " << bytes.toHex().left(40).constData();
    } catch (const Exception& failure) {
      EXPECT_STREQ(failure.what(), "Photo image is not valid");
    }
    EXPECT_TRUE(photo.Bytes().isEmpty());
  }
}

}  // namespace
}  // namespace kl
