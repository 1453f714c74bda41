#include "platform/richedit/rtf/RtfPicture.h"

#include "platform/richedit/rtf/RtfHex.h"
#include "platform/richedit/rtf/RtfLexer.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace richedit::rtf {

namespace {

bool saneSize(qint64 width, qint64 height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

quint32 u32(const QByteArray& data, int at) {
  return qFromLittleEndian<quint32>(data.constData() + at);
}
qint32 s32(const QByteArray& data, int at) {
  return qFromLittleEndian<qint32>(data.constData() + at);
}
quint16 u16(const QByteArray& data, int at) {
  return qFromLittleEndian<quint16>(data.constData() + at);
}

QImage readWithCheck(const QByteArray& bytes, const char* format, QSize scaledTo) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer, format);
  const QSize size = reader.size();
  if (size.isValid() && !saneSize(size.width(), size.height())) return {};
  if (scaledTo.isValid()) reader.setScaledSize(scaledTo);  // JPEG decodes at the smaller size
  QImage image;
  if (!reader.read(&image)) return {};
  return image;
}

QSize readerSize(const QByteArray& bytes, const char* format) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  const QSize size = QImageReader(&buffer, format).size();
  return size.isValid() && saneSize(size.width(), size.height()) ? size : QSize();
}

// A device-independent bitmap: BITMAPINFOHEADER (or the older BITMAPCOREHEADER), the colour
// table, then the bits. Its claims are checked against the bytes present before Qt reads it.
struct DibHeader {
  bool valid = false;
  qint64 width = 0, height = 0;
  qint64 offBits = 0;  // where the bits start
};

// size: how many bytes the picture has in all, of which data holds the first.
DibHeader dibHeader(const QByteArray& data, qint64 size) {
  DibHeader header;
  if (data.size() < 12) return header;
  const quint32 headerSize = u32(data, 0);
  int bpp;
  quint32 compression = 0, colours = 0;
  int entrySize = 4;
  if (headerSize == 12) {
    header.width = u16(data, 4);
    header.height = u16(data, 6);
    bpp = u16(data, 10);
    entrySize = 3;
  } else if (headerSize >= 40 && headerSize <= 1024 && data.size() >= qsizetype(headerSize)) {
    header.width = s32(data, 4);
    header.height = std::abs(qint64(s32(data, 8)));
    bpp = u16(data, 14);
    compression = u32(data, 16);
    colours = u32(data, 32);
  } else {
    return header;
  }
  if (!saneSize(header.width, header.height) || bpp <= 0 || bpp > 32) return header;
  if (colours == 0 && bpp <= 8) colours = 1u << bpp;
  if (colours > 256) return header;
  header.offBits = headerSize + qint64(colours) * entrySize;
  if (compression == 3 && headerSize == 40) header.offBits += 12;
  if (compression == 0 || compression == 3) {
    const qint64 rowBytes = ((header.width * bpp + 31) / 32) * 4;
    if (header.offBits + rowBytes * header.height > size) return header;
  } else if (header.offBits > size) {
    return header;
  }
  header.valid = true;
  return header;
}

QImage decodeDib(const QByteArray& data, QSize scaledTo) {
  const DibHeader header = dibHeader(data, data.size());
  if (!header.valid) return {};
  QByteArray file(14, '\0');
  file[0] = 'B';
  file[1] = 'M';
  qToLittleEndian<quint32>(quint32(14 + data.size()), file.data() + 2);
  qToLittleEndian<quint32>(quint32(14 + header.offBits), file.data() + 10);
  file += data;
  return readWithCheck(file, "BMP", scaledTo);
}

// A device-dependent bitmap: rows of widthBytes from the top, in the given bit depth.
QImage decodeWBitmap(const PictureData& p) {
  if (!saneSize(p.width, p.height) || p.planes != 1) return {};
  const qint64 minRow = (qint64(p.width) * p.bitsPerPixel + 7) / 8;
  const qint64 rowBytes = p.widthBytes > 0 ? p.widthBytes : ((minRow + 1) / 2) * 2;
  if (rowBytes < minRow || rowBytes * p.height > p.data.size()) return {};
  QImage image;
  const auto* bits = reinterpret_cast<const uchar*>(p.data.constData());
  switch (p.bitsPerPixel) {
    case 1:
      image = QImage(p.width, p.height, QImage::Format_Mono);
      if (image.isNull()) return {};
      image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
      for (int y = 0; y < p.height; ++y)
        std::copy_n(bits + y * rowBytes, minRow, image.scanLine(y));
      return image;
    case 24:
    case 32: {
      image = QImage(p.width, p.height, QImage::Format_RGB32);
      if (image.isNull()) return {};
      const int step = p.bitsPerPixel / 8;
      for (int y = 0; y < p.height; ++y) {
        const uchar* src = bits + y * rowBytes;
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < p.width; ++x, src += step) dst[x] = qRgb(src[2], src[1], src[0]);
      }
      return image;
    }
    default:
      return {};
  }
}

int clampTwips(qint64 twips) {
  return int(std::clamp<qint64>(twips, 1, 31680));
}

}  // namespace

QString PictureData::kindName() const {
  switch (kind) {
    case Word::DiBitmap:
      return QStringLiteral("dibitmap");
    case Word::WBitmap:
      return QStringLiteral("wbitmap");
    case Word::PngBlip:
      return QStringLiteral("pngblip");
    case Word::JpegBlip:
      return QStringLiteral("jpegblip");
    case Word::EmfBlip:
      return QStringLiteral("emfblip");
    case Word::MacPict:
      return QStringLiteral("macpict");
    case Word::PmMetafile:
      return QStringLiteral("pmmetafile");
    default:
      return QStringLiteral("wmetafile");
  }
}

bool PictureData::isBitmap() const {
  return kind == Word::DiBitmap || kind == Word::WBitmap || kind == Word::PngBlip ||
         kind == Word::JpegBlip;
}

QSize pixelSizeOf(const PictureData& picture) {
  switch (picture.kind) {
    case Word::DiBitmap: {
      const DibHeader header = dibHeader(picture.data, picture.data.size() + picture.bytesNotKept);
      return header.valid ? QSize(int(header.width), int(header.height)) : QSize();
    }
    case Word::WBitmap:
      return saneSize(picture.width, picture.height) ? QSize(picture.width, picture.height)
                                                     : QSize();
    case Word::PngBlip:
      return readerSize(picture.data, "PNG");
    case Word::JpegBlip:
      return readerSize(picture.data, "JPEG");
    default:
      return {};
  }
}

QImage decodePicture(const PictureData& picture, QSize scaledTo) {
  switch (picture.kind) {
    case Word::DiBitmap:
      return decodeDib(picture.data, scaledTo);
    case Word::WBitmap: {
      const QImage image = decodeWBitmap(picture);
      return scaledTo.isValid() && !image.isNull()
                 ? image.scaled(scaledTo, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                 : image;
    }
    case Word::PngBlip:
      return readWithCheck(picture.data, "PNG", scaledTo);
    case Word::JpegBlip:
      return readWithCheck(picture.data, "JPEG", scaledTo);
    default:
      return {};
  }
}

QSize shownSizeTwips(const PictureData& p, QSize pixels) {
  qint64 width = p.goalWidth, height = p.goalHeight;
  if (width <= 0 || height <= 0) {
    if (p.isBitmap()) {
      const qint64 pixelsW = p.width > 0 ? p.width : pixels.width();
      const qint64 pixelsH = p.height > 0 ? p.height : pixels.height();
      width = pixelsW * 15;
      height = pixelsH * 15;
    } else {
      width = qint64(p.width) * 1440 / 2540;  // 0.01 mm to twips
      height = qint64(p.height) * 1440 / 2540;
    }
  }
  const qint64 scaleX = p.scaleX > 0 ? p.scaleX : 100;
  const qint64 scaleY = p.scaleY > 0 ? p.scaleY : 100;
  if (width <= 0) width = 1440;
  if (height <= 0) height = 1440;
  // Sizes and scales are each below 2^31, so their product stays inside 64 bits; pixels
  // counted as twips can pass 2^31 and are held below it first.
  width = std::min<qint64>(width, INT_MAX);
  height = std::min<qint64>(height, INT_MAX);
  return {clampTwips(width * scaleX / 100), clampTwips(height * scaleY / 100)};
}

namespace {

// Collects the words and data of the first {\pict} group in a kept group, as the reader takes
// them: ignorable groups nested in the picture ({\*\blipuid ...}) are not the picture's own.
class PictureGroupReader : public RtfListener {
 public:
  PictureData picture;

  void onGroupOpen(qsizetype) override { ++depth_; }
  void onGroupClose(qsizetype) override {
    if (depth_ == pictDepth_) done_ = true;
    if (depth_ == skipFrom_) skipFrom_ = -1;
    --depth_;
  }
  void onControlWord(const ControlWord& word) override {
    if (done_ || word.info == nullptr) return;
    if (pictDepth_ < 0) {
      if (word.info->id == Word::Pict) pictDepth_ = depth_;
      return;
    }
    if (!inPicture()) return;
    const int p = word.hasParameter ? word.parameter : word.info->defaultParameter;
    const int positive = std::max(p, 0);
    switch (word.info->id) {
      case Word::DiBitmap:
      case Word::WBitmap:
      case Word::WMetafile:
      case Word::PmMetafile:
      case Word::PngBlip:
      case Word::JpegBlip:
      case Word::EmfBlip:
      case Word::MacPict:
        picture.kind = word.info->id;
        break;
      case Word::PicWidth:
        picture.width = positive;
        break;
      case Word::PicHeight:
        picture.height = positive;
        break;
      case Word::PicGoalWidth:
        picture.goalWidth = positive;
        break;
      case Word::PicGoalHeight:
        picture.goalHeight = positive;
        break;
      case Word::PicScaleX:
        picture.scaleX = positive;
        break;
      case Word::PicScaleY:
        picture.scaleY = positive;
        break;
      case Word::PicBitsPerPixel:
      case Word::WbmBitsPixel:
        picture.bitsPerPixel = positive;
        break;
      case Word::WbmPlanes:
        picture.planes = positive;
        break;
      case Word::WbmWidthBytes:
        picture.widthBytes = positive;
        break;
      default:
        break;
    }
  }
  void onControlSymbol(char symbol) override {
    if (symbol == '*' && inPicture() && depth_ > pictDepth_) skipFrom_ = depth_;
  }
  void onText(std::string_view bytes) override {
    if (inPicture()) hex_.feed(bytes, picture.data);
  }
  void onHexByte(unsigned char) override {}
  void onBinary(std::string_view bytes) override {
    if (inPicture()) picture.data.append(bytes.data(), qsizetype(bytes.size()));
  }

 private:
  bool inPicture() const {
    return !done_ && pictDepth_ >= 0 && depth_ >= pictDepth_ && skipFrom_ < 0;
  }

  int depth_ = 0;
  int pictDepth_ = -1;
  int skipFrom_ = -1;  // the depth of an ignorable group being passed over
  bool done_ = false;
  HexDecoder hex_;
};

}  // namespace

PictureData readPictureGroup(QByteArrayView group) {
  PictureGroupReader reader;
  RtfLexer::tokenize(group, reader);
  return reader.picture;
}

QSize pageFittedGoalTwips(qint64 width, qint64 height) {
  constexpr double kPageTextWidth = 9360, kPageTextHeight = 12960;
  const double w = double(std::max<qint64>(width, 1)) * 15;
  const double h = double(std::max<qint64>(height, 1)) * 15;
  const double scale = std::min({1.0, kPageTextWidth / w, kPageTextHeight / h});
  return {std::max(1, int(std::lround(w * scale))), std::max(1, int(std::lround(h * scale)))};
}

QSize dibitmapPixels(const PictureData& picture) {
  const QByteArray& data = picture.data;
  if (data.size() < 12) return {};
  if (u32(data, 0) == 12) return QSize(u16(data, 4), u16(data, 6));
  const qint64 height = std::abs(qint64(s32(data, 8)));
  return QSize(s32(data, 4), int(std::min<qint64>(height, INT_MAX)));
}

QByteArray sizedDibitmapGroup(QByteArrayView group, const PictureData& picture, QSize twips) {
  const QSize pixels = dibitmapPixels(picture);
  const QByteArray sized = "\\dibitmap0\\picw" + QByteArray::number(pixels.width()) + "\\pich" +
                           QByteArray::number(pixels.height()) + "\\picwgoal" +
                           QByteArray::number(twips.width()) + "\\pichgoal" +
                           QByteArray::number(twips.height());
  // The group stays as it came but for its \dibitmap word, which takes the sizes with it; the
  // data are copied, not written out again.
  const qsizetype word = group.indexOf(QByteArrayView("\\dibitmap"));
  if (word < 0) return group.toByteArray();
  qsizetype after = word + qsizetype(std::strlen("\\dibitmap"));
  if (after < group.size() && group[after] == '-') ++after;
  while (after < group.size() && group[after] >= '0' && group[after] <= '9') ++after;
  QByteArray result;
  result.reserve(group.size() + sized.size());
  result.append(group.first(word)).append(sized).append(group.sliced(after));
  return result;
}

QImage placeholderImage() {
  QImage image(32, 32, QImage::Format_RGB32);
  image.fill(QColor(0xd0, 0xd0, 0xd0));
  for (int i = 0; i < 32; ++i) {
    for (const auto& [x, y] : {std::pair{i, 0}, {i, 31}, {0, i}, {31, i}})
      image.setPixel(x, y, qRgb(0x80, 0x80, 0x80));
  }
  return image;
}

}  // namespace richedit::rtf
