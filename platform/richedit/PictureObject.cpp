#include "platform/richedit/PictureObject.h"

#include <QCache>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "platform/richedit/document/DocumentFormat.h"
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

// The size to decode or scale a picture to: the size it covers, but never more pixels than the
// picture has, so a small picture printed at a printer's resolution is not blown up.
QSize notEnlarged(QSize wanted, QSize own) {
  if (!own.isValid() || own.isEmpty()) return wanted;
  return wanted.width() > own.width() || wanted.height() > own.height() ? own : wanted;
}

QImage decodedFromSource(const QTextImageFormat& format, QSize size) {
  const QByteArray source = format.property(fmt::PictureSource).toByteArray();
  if (source.isEmpty() || format.stringProperty(fmt::PictureKind) == QLatin1String("object"))
    return {};
  const QString key = format.name() + QStringLiteral("@%1x%2").arg(size.width()).arg(size.height());
  if (const QImage* cached = shownPictures().object(key)) return *cached;
  const rtf::PictureData picture = rtf::readPictureGroup(source);
  if (!picture.isBitmap()) return {};
  QImage image = rtf::decodePicture(picture, notEnlarged(size, rtf::pixelSizeOf(picture)));
  const int kilobytes = int(std::min<qint64>(image.sizeInBytes() / 1024 + 1, INT_MAX));
  shownPictures().insert(key, new QImage(image), kilobytes);
  return image;
}

// The width the picture's paragraph gives its text; 0 when the text is not wrapped to a width.
double TextWidthAt(QTextDocument* doc, int position) {
  const double page = doc->pageSize().width();
  if (page <= 0 || doc->defaultTextOption().wrapMode() == QTextOption::NoWrap) return 0;
  const QTextBlockFormat block = doc->findBlock(position).blockFormat();
  return std::max(1.0, page - 2 * doc->documentMargin() - block.leftMargin() - block.rightMargin() -
                           std::max(0.0, block.textIndent()));
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

QSizeF PictureObject::intrinsicSize(QTextDocument* doc, int posInDocument,
                                    const QTextFormat& format) {
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
  const double room = TextWidthAt(doc, posInDocument);
  if (room > 0 && w > room) {
    h = std::max(1.0, h * room / w);
    w = room;
  }
  return {w, h};
}

void PictureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                               const QTextFormat& format) {
  const QTextImageFormat picture = format.toImageFormat();
  // Decoded or scaled at the size it covers on the device, so a large photo is never held
  // whole; a printer's scale is taken in, so paper gets its own resolution.
  const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
  const QTransform& t = painter->transform();
  const qreal scale = ratio * std::max<qreal>(1.0, std::max(std::hypot(t.m11(), t.m12()),
                                                            std::hypot(t.m21(), t.m22())));
  const QSize pixels(std::max(1, int(std::ceil(rect.width() * scale))),
                     std::max(1, int(std::ceil(rect.height() * scale))));
  const QImage held = resourceImage(*doc, picture);
  const QImage image = !held.isNull()
                           ? scaled_.scaled(picture.name(), held, notEnlarged(pixels, held.size()))
                           : decodedFromSource(picture, pixels);
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
