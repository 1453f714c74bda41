#include "RtfShapes.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace bench {

namespace {

constexpr const char* kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0";

QByteArray fontTable(int count) {
  QByteArray table = "{\\fonttbl";
  for (int i = 0; i < count; ++i)
    table +=
        "{\\f" + QByteArray::number(i) + "\\fswiss\\fcharset0 Face" + QByteArray::number(i) + ";}";
  return table + "}";
}

QByteArray colorTable(int count) {
  QByteArray table = "{\\colortbl ;";
  for (int i = 0; i < count; ++i)
    table += "\\red" + QByteArray::number(i % 256) + "\\green" + QByteArray::number(i * 7 % 256) +
             "\\blue" + QByteArray::number(i * 13 % 256) + ";";
  return table + "}";
}

// Repeats piece(i) after head until the document reaches bytes.
template <typename Piece>
QByteArray grow(QByteArray rtf, qsizetype bytes, Piece piece) {
  rtf.reserve(bytes + 64);
  for (int i = 0; rtf.size() < bytes; ++i) rtf += piece(i);
  return rtf + "\\par}";
}

QByteArray photoHex() {
  // A smooth gradient: large in pixels, small as PNG, like a photo of a lawn.
  QImage image(5600, 5600, QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) line[x] = qRgb(x / 40, 120 + y / 80, 60);
  }
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG", 9);
  return png.toHex();
}

QByteArray pictures(qsizetype bytes) {
  static const QByteArray hex = photoHex();
  QByteArray rtf = QByteArray(kHeader) + fontTable(1) + "\\f0 ";
  do {
    rtf +=
        "Lawn training, photo follows.\\par{\\pict\\pngblip\\picw5600\\pich5600"
        "\\picwgoal8400\\pichgoal8400\r\n" +
        hex + "}\\par\r\n";
  } while (rtf.size() + hex.size() < bytes);
  return rtf + "}";
}

}  // namespace

const std::vector<ShapeInfo>& allShapes() {
  static const std::vector<ShapeInfo> shapes = {
      {Shape::FontChanges, "FontChanges"},     {Shape::ColorChanges, "ColorChanges"},
      {Shape::ShortRuns, "ShortRuns"},         {Shape::OneLongWord, "OneLongWord"},
      {Shape::FontsUsedOnce, "FontsUsedOnce"}, {Shape::LongParagraph, "LongParagraph"},
      {Shape::Pictures, "Pictures"},
  };
  return shapes;
}

QByteArray makeShape(Shape shape, qsizetype bytes) {
  switch (shape) {
    case Shape::FontChanges:
      return grow(QByteArray(kHeader) + fontTable(100) + "\\pard ", bytes,
                  [](int i) { return "\\f" + QByteArray::number(i % 100) + " sit "; });
    case Shape::ColorChanges:
      return grow(QByteArray(kHeader) + fontTable(1) + colorTable(100) + "\\pard\\f0 ", bytes,
                  [](int i) { return "\\cf" + QByteArray::number(i % 100 + 1) + " stay "; });
    case Shape::ShortRuns:
      return grow(QByteArray(kHeader) + fontTable(1) + "\\pard\\f0 ", bytes,
                  [](int) { return QByteArray("\\b a\\b0  b"); });
    case Shape::OneLongWord:
      return grow(QByteArray(kHeader) + fontTable(1) + "\\pard\\f0 ", bytes,
                  [](int) { return QByteArray("\\b a\\b0 b"); });
    case Shape::FontsUsedOnce: {
      // The table takes most of the file, as in a document that names a font per word.
      const int fonts = int(std::max<qsizetype>(1, bytes / 48));
      QByteArray rtf = QByteArray(kHeader) + fontTable(fonts) + "\\pard ";
      for (int i = 0; i < fonts; ++i) rtf += "\\f" + QByteArray::number(i) + " w";
      return rtf + "\\par}";
    }
    case Shape::LongParagraph:
      return grow(QByteArray(kHeader) + fontTable(1) + "\\pard\\f0 ", bytes, [](int) {
        return QByteArray("Bella held a steady sit while the other dogs walked past. ");
      });
    case Shape::Pictures:
      return pictures(bytes);
  }
  return {};
}

}  // namespace bench
