#include "platform/richedit/PictureObject.h"

#include <QCache>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>

#include "platform/richedit/DocumentFormat.h"
#include "platform/richedit/rtf/RtfPicture.h"

namespace richedit {

namespace {

// Decoded pictures at their shown sizes, by name and size; bounded so that a long entry full
// of photos holds only about what a few screens show.
constexpr int kShownPicturesKilobytes = 64 * 1024;

QCache<QString, QImage>& shownPictures() {
  static QCache<QString, QImage> cache(kShownPicturesKilobytes);
  return cache;
}

// A picture inserted or pasted by the program is held by the document as an image.
QImage resourceImage(const QTextDocument& doc, const QTextImageFormat& format) {
  const QVariant data = doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
  if (data.userType() == QMetaType::QImage) return data.value<QImage>();
  if (data.userType() == QMetaType::QPixmap) return data.value<QPixmap>().toImage();
  if (data.userType() == QMetaType::QByteArray) return QImage::fromData(data.toByteArray());
  return {};
}

QImage decodedFromSource(const QTextImageFormat& format, QSize size) {
  const QByteArray source = format.property(fmt::PictureSource).toByteArray();
  if (source.isEmpty() || format.stringProperty(fmt::PictureKind) == QLatin1String("object"))
    return {};
  const QString key = format.name() + QStringLiteral("@%1x%2").arg(size.width()).arg(size.height());
  if (const QImage* cached = shownPictures().object(key)) return *cached;
  const rtf::PictureData picture = rtf::readPictureGroup(source);
  if (!picture.isBitmap()) return {};
  QImage image = rtf::decodePicture(picture, size);
  const int kilobytes = int(std::min<qint64>(image.sizeInBytes() / 1024 + 1, INT_MAX));
  shownPictures().insert(key, new QImage(image), kilobytes);
  return image;
}

}  // namespace

QImage pictureImage(const QTextDocument& doc, const QTextImageFormat& format, QSize size) {
  const QImage held = resourceImage(doc, format);
  if (!held.isNull()) {
    return size.isValid() && held.size() != size
               ? held.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
               : held;
  }
  return decodedFromSource(format, size);
}

QSizeF PictureObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
  const QTextImageFormat f = format.toImageFormat();
  double w = f.width();
  double h = f.height();
  if (w <= 0 || h <= 0) {
    // Only pictures the program made itself come without a size; theirs is the image's.
    const QImage image = resourceImage(*doc, f);
    if (w <= 0)
      w = f.hasProperty(fmt::PictureGoalWidth)
              ? fmt::twipsToPixels(f.intProperty(fmt::PictureGoalWidth))
              : image.width();
    if (h <= 0)
      h = f.hasProperty(fmt::PictureGoalHeight)
              ? fmt::twipsToPixels(f.intProperty(fmt::PictureGoalHeight))
              : image.height();
  }
  if (w <= 0 || h <= 0) return {32, 32};
  return {w, h};
}

void PictureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                               const QTextFormat& format) {
  // Decoded at the size it covers on the device, so a large photo is never held whole.
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
  const QSize pixels(std::max(1, int(std::ceil(rect.width() * ratio))),
                     std::max(1, int(std::ceil(rect.height() * ratio))));
  const QImage image = pictureImage(*doc, format.toImageFormat(), pixels);
  if (!image.isNull()) {
    painter->drawImage(rect, image);
    return;
  }
  painter->save();
  painter->setPen(QPen(Qt::gray, 1, Qt::DashLine));
  painter->setBrush(QColor(240, 240, 240));
  painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
  painter->restore();
}

}  // namespace richedit
