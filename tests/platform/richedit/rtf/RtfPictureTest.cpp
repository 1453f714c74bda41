// Pictures and objects: the bitmap kinds are decoded and shown, the others stand as a grey box
// of their goal size, and every one keeps the bytes of its group for saving.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextImageFormat>
#include <QUrl>
#include <QtEndian>

#include "RtfTestSupport.h"
#include "platform/richedit/PictureObject.h"
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/rtf/RtfHex.h"
#include "platform/richedit/rtf/RtfWriter.h"

namespace richedit::rtf::test {
namespace {

using namespace richedit::fmt;

QByteArray hex(const QByteArray& bytes) {
  QByteArray out;
  appendHex(out, bytes.constData(), bytes.size());
  return out;
}

QImage testImage() {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(qRgb(10, 200, 30));
  image.setPixel(0, 0, qRgb(255, 0, 0));
  return image;
}

QByteArray encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes;
}

// BITMAPINFOHEADER and 24-bit bottom-up rows, as \dibitmap carries them.
QByteArray dib(int width, int height, int claimedWidth = 0, int claimedHeight = 0) {
  QByteArray header(40, '\0');
  qToLittleEndian<quint32>(40, header.data());
  qToLittleEndian<qint32>(claimedWidth ? claimedWidth : width, header.data() + 4);
  qToLittleEndian<qint32>(claimedHeight ? claimedHeight : height, header.data() + 8);
  qToLittleEndian<quint16>(1, header.data() + 12);
  qToLittleEndian<quint16>(24, header.data() + 14);
  const int row = ((width * 24 + 31) / 32) * 4;
  QByteArray bits(row * height, '\0');
  for (int x = 0; x < width; ++x) bits[x * 3 + 2] = char(0xff);  // bottom row red
  return header + bits;
}

struct Picture {
  QTextImageFormat format;
  QImage image;
};

Picture onlyPicture(const QTextDocument& doc) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (!f.isImageFormat()) continue;
      const QTextImageFormat image = f.toImageFormat();
      return {image, pictureImage(doc, image)};
    }
  }
  ADD_FAILURE() << "no picture";
  return {};
}

TEST(RtfPicture, BitmapKindsAreDecoded) {
  const QImage image = testImage();
  const QByteArray cases[] = {
      "{\\pict\\pngblip\\picw3\\pich2\\picwgoal45\\pichgoal30 " + hex(encoded(image, "PNG")) + "}",
      "{\\pict\\jpegblip\\picw3\\pich2 " + hex(encoded(image, "JPEG")) + "}",
      "{\\pict\\dibitmap0\\picw3\\pich2 " + hex(dib(3, 2)) + "}",
      "{\\pict\\wbitmap0\\picw3\\pich2\\wbmbitspixel24\\wbmplanes1\\wbmwidthbytes10 " +
          hex(QByteArray(20, char(0x40))) + "}",
  };
  for (const QByteArray& group : cases) {
    const auto read = readRtf("{\\rtf1 " + group + "}");
    const Picture p = onlyPicture(*read.doc);
    ASSERT_FALSE(p.image.isNull()) << group.left(30).toStdString();
    EXPECT_EQ(p.image.size(), QSize(3, 2)) << group.left(30).toStdString();
    EXPECT_EQ(p.format.width(), 3.0);  // 45 twips shown at 15 twips to the pixel
    EXPECT_EQ(p.format.property(PictureSource).toByteArray(), group);
  }
}

TEST(RtfPicture, DibPixelsComeOutTheRightWayUp) {
  const auto read = readRtf("{\\rtf1 {\\pict\\dibitmap0 " + hex(dib(2, 2)) + "}}");
  const QImage image = onlyPicture(*read.doc).image;
  EXPECT_EQ(QColor(image.pixel(0, 1)), QColor(255, 0, 0));  // the first row stored is the bottom
  EXPECT_EQ(QColor(image.pixel(0, 0)), QColor(0, 0, 0));
}

TEST(RtfPicture, OtherKindsAndObjectsAreAPlaceholderOfTheirGoalSize) {
  struct Case {
    QByteArray group;
    QString kind;
    QSize pixels;
  } cases[] = {
      {"{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1500\\pichgoal750 0102030405}",
       "wmetafile",
       {100, 50}},
      {"{\\pict\\emfblip\\picw2540\\pich2540 0102}", "emfblip", {96, 96}},  // 1 inch
      {"{\\pict\\pngblip\\picscalex50\\picscaley200\\picwgoal300\\pichgoal300 ff}",
       "pngblip",
       {10, 40}},
      {"{\\object\\objemb{\\*\\objclass Paint.Picture}\\objw3000\\objh1500{\\*\\objdata 0102ab}"
       "{\\result{\\pict\\wmetafile8 00}}}",
       "object",
       {200, 100}},
  };
  for (const auto& c : cases) {
    const auto read = readRtf("{\\rtf1 a" + c.group + "b}");
    EXPECT_EQ(textOf(*read.doc), QString::fromUtf16(u"a\uFFFCb"));
    const Picture p = onlyPicture(*read.doc);
    EXPECT_EQ(p.format.stringProperty(PictureKind), c.kind);
    EXPECT_EQ(QSize(qRound(p.format.width()), qRound(p.format.height())), c.pixels)
        << c.kind.toStdString();
    EXPECT_TRUE(p.image.isNull());  // drawn as a framed box
    EXPECT_EQ(p.format.property(PictureSource).toByteArray(), c.group);
  }
}

TEST(RtfPicture, ExtremeSizesAndScalesAreHeldToAPage) {
  // Sizes in pixels are counted in twips before scaling: near 2^31 of each, the product must
  // neither wrap round nor shrink the picture to nothing.
  const QByteArray cases[] = {
      "{\\pict\\pngblip\\picw2147483647\\pich2147483647\\picscalex2147483647"
      "\\picscaley2147483647 ff}",
      "{\\pict\\dibitmap0\\picw2147483647\\pich2147483647\\picscalex2147483647"
      "\\picscaley2147483647 ff}",
      "{\\pict\\wmetafile8\\picwgoal2147483647\\pichgoal2147483647\\picscalex2147483647"
      "\\picscaley2147483647 ff}",
  };
  for (const QByteArray& group : cases) {
    const Picture p = onlyPicture(*readRtf("{\\rtf1 " + group + "}").doc);
    EXPECT_EQ(p.format.intProperty(PictureGoalWidth), 31680) << group.toStdString();
    EXPECT_EQ(p.format.intProperty(PictureGoalHeight), 31680) << group.toStdString();
  }
}

TEST(RtfPicture, PicturesAndObjectsAreWrittenBackByteForByte) {
  const QByteArray groups =
      "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1500\\pichgoal750\r\n0102 0304\r\n}"
      "{\\object\\objemb\\objw3000\\objh1500{\\*\\objdata\r\n0102ab}{\\result{\\pict\\wmetafile8 "
      "00}}}"
      "{\\*\\shppict{\\pict\\pngblip ffd8}}\r\n{\\nonshppict{\\pict\\wmetafile8 0a0b}}";
  const auto read = readRtf("{\\rtf1 " + groups + "\\par}");
  EXPECT_EQ(textOf(*read.doc).size(), 3);
  const QByteArray written = writeAll(*read.doc);
  EXPECT_TRUE(written.contains(groups)) << written.toStdString();
}

TEST(RtfPicture, WithoutObjectsAnObjectIsWrittenAsItsResult) {
  const auto read = readRtf("{\\rtf1 {\\object\\objw100\\objh100{\\*\\objdata 01}{\\result R}}}");
  WriteOptions options;
  options.noObjects = true;
  const QByteArray written =
      RtfWriter().write(*read.doc, 0, read.doc->characterCount() - 1, options);
  EXPECT_FALSE(written.contains("objdata"));
  EXPECT_EQ(textOf(*readRtf(written).doc), "R");
}

TEST(RtfPicture, APictureWithoutSourceIsWrittenAsPng) {
  QTextDocument doc;
  doc.addResource(QTextDocument::ImageResource, QUrl("pasted"), testImage());
  QTextImageFormat image;
  image.setName("pasted");
  image.setWidth(6);
  image.setHeight(4);
  QTextCursor(&doc).insertImage(image);
  const QByteArray written = writeAll(doc);
  EXPECT_TRUE(written.contains("{\\pict\\pngblip\\picw3\\pich2\\picwgoal90\\pichgoal60"))
      << written.toStdString();
  const Picture p = onlyPicture(*readRtf(written).doc);
  EXPECT_EQ(p.image.size(), QSize(3, 2));
  EXPECT_EQ(QColor(p.image.pixel(0, 0)), QColor(255, 0, 0));
}

TEST(RtfPicture, ClaimsBeyondTheDataAreNotBelieved) {
  // Sizes far beyond the bytes present give a placeholder, never a huge allocation.
  const QByteArray cases[] = {
      "{\\pict\\dibitmap0 " + hex(dib(2, 2, 100000, 100000)) + "}",
      "{\\pict\\dibitmap0 " + hex(dib(2, 2, 20000, 20000)) + "}",
      "{\\pict\\wbitmap0\\picw100000\\pich100000\\wbmbitspixel24\\wbmwidthbytes300000 00}",
      "{\\pict\\wbitmap0\\picw4\\pich4\\wbmbitspixel24 0011}",
      "{\\pict\\picw100000\\pich100000\\picwgoal2147483647\\pichgoal2147483647\\wmetafile8 00}",
  };
  for (const QByteArray& group : cases) {
    const auto read = readRtf("{\\rtf1 " + group + "}");
    const Picture p = onlyPicture(*read.doc);
    EXPECT_LE(p.image.width(), 64);
    EXPECT_LE(p.format.width(), 31680 / 15.0);
  }
}

TEST(RtfPicture, PhotosAreDecodedOnlyWhenShownAndAtTheSizeShown) {
  // Nine photos of 25 million pixels each would take 900 MB decoded: reading keeps only their
  // bytes, and showing one decodes it at the size it covers.
  QImage big(5000, 5000, QImage::Format_RGB32);
  big.fill(Qt::white);
  big.setPixel(0, 0, qRgb(255, 0, 0));
  const QByteArray group =
      "{\\pict\\pngblip\\picwgoal750\\pichgoal750 " + hex(encoded(big, "PNG")) + "}";
  const auto read = readRtf("{\\rtf1 " + group.repeated(9) + "}");
  int pictures = 0;
  for (auto it = read.doc->begin().begin(); !it.atEnd(); ++it, ++pictures) {
    const QTextImageFormat f = it.fragment().charFormat().toImageFormat();
    EXPECT_FALSE(read.doc->resource(QTextDocument::ImageResource, QUrl(f.name())).isValid());
    EXPECT_EQ(f.property(PictureSource).toByteArray(), group);
    EXPECT_EQ(f.width(), 50.0);
  }
  EXPECT_EQ(pictures, 9);
  const Picture p = onlyPicture(*read.doc);
  const QImage shown = pictureImage(*read.doc, p.format, QSize(50, 50));
  EXPECT_EQ(shown.size(), QSize(50, 50));
  EXPECT_EQ(pictureImage(*read.doc, p.format).size(), QSize(5000, 5000));  // asked for in full
}

TEST(RtfHexDecoder, SkipsWhitespaceAndJoinsDigitsAcrossRuns) {
  HexDecoder decoder;
  QByteArray out;
  decoder.feed("0a1 b\r\n2", out);
  decoder.feed("c3", out);
  decoder.feed("zz4", out);
  decoder.feed("D", out);
  EXPECT_EQ(out, QByteArray("\x0a\x1b\x2c\x34", 4));  // the lone D waits for a partner
}

TEST(RtfHexDecoder, SkippingCountsTheBytesThatFeedingWouldGive) {
  const char* runs[] = {"0a1 b\r\n2", "c3", "zz4", "D", "e 5f", "6"};
  HexDecoder fed, skipped;
  QByteArray out;
  qsizetype counted = 0;
  for (const char* run : runs) {
    fed.feed(run, out);
    counted += skipped.skip(run);
    EXPECT_EQ(counted, out.size()) << run;
  }
}

TEST(RtfPicture, ALargeBitmapIsSizedByItsHeaderAndCheckedByAllItsRows) {
  // Only the head of a large bitmap is decoded while reading; the rest is counted, so that a
  // bitmap short of its rows is still told apart from a whole one.
  const QByteArray whole = hex(dib(300, 200));
  const QByteArray shortOfARow = hex(dib(300, 199, 300, 200));
  for (const auto& [data, sized] : {std::pair{whole, true}, std::pair{shortOfARow, false}}) {
    const QByteArray group = "{\\pict\\dibitmap0 " + data + "}";
    const auto read = readRtf("{\\rtf1 " + group + "}");
    const Picture p = onlyPicture(*read.doc);
    const QByteArray source = p.format.property(PictureSource).toByteArray();
    EXPECT_EQ(source.contains("\\picw300\\pich200"), sized);
    EXPECT_EQ(p.image.size() == QSize(300, 200), sized);
  }
}

}  // namespace
}  // namespace richedit::rtf::test
