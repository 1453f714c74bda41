#include "platform/richedit/PictureObject.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include "platform/richedit/DocumentFormat.h"

namespace richedit {

namespace {

QImage imageOf(QTextDocument* doc, const QTextImageFormat& format) {
  const QVariant data = doc->resource(QTextDocument::ImageResource, QUrl(format.name()));
  if (data.userType() == QMetaType::QImage) return data.value<QImage>();
  if (data.userType() == QMetaType::QPixmap) return data.value<QPixmap>().toImage();
  if (data.userType() == QMetaType::QByteArray) return QImage::fromData(data.toByteArray());
  return {};
}

}  // namespace

QSizeF PictureObject::intrinsicSize(QTextDocument* doc, int, const QTextFormat& format) {
  const QTextImageFormat f = format.toImageFormat();
  const QImage image = imageOf(doc, f);
  double w = f.width();
  double h = f.height();
  if (w <= 0) {
    w = f.hasProperty(fmt::PictureGoalWidth)
            ? fmt::twipsToPixels(f.intProperty(fmt::PictureGoalWidth))
            : image.width();
  }
  if (h <= 0) {
    h = f.hasProperty(fmt::PictureGoalHeight)
            ? fmt::twipsToPixels(f.intProperty(fmt::PictureGoalHeight))
            : image.height();
  }
  if (w <= 0 || h <= 0) return {32, 32};
  return {w, h};
}

void PictureObject::drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int,
                               const QTextFormat& format) {
  const QImage image = imageOf(doc, format.toImageFormat());
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
