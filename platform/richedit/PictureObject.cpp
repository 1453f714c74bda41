#include "platform/richedit/PictureObject.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <algorithm>

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

// The width the picture's paragraph gives its text; 0 when the text is not wrapped to a width.
double TextWidthAt(QTextDocument* doc, int position) {
  const double page = doc->pageSize().width();
  if (page <= 0 || doc->defaultTextOption().wrapMode() == QTextOption::NoWrap) return 0;
  const QTextBlockFormat block = doc->findBlock(position).blockFormat();
  return std::max(1.0, page - 2 * doc->documentMargin() - block.leftMargin() - block.rightMargin() -
                           std::max(0.0, block.textIndent()));
}

}  // namespace

QSizeF PictureObject::intrinsicSize(QTextDocument* doc, int posInDocument,
                                    const QTextFormat& format) {
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
  const QImage image = imageOf(doc, picture);
  if (!image.isNull()) {
    // On screen the picture is scaled once to its drawn size and kept; a printer scales it
    // itself, at its own resolution.
    if (painter->transform().isScaling()) {
      painter->drawImage(rect, image);
    } else {
      const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
      const QSize size = (rect.size() * ratio).toSize();
      painter->drawImage(rect, scaled_.scaled(picture.name(), image, size));
    }
    return;
  }
  painter->save();
  painter->setPen(QPen(Qt::gray, 1, Qt::DashLine));
  painter->setBrush(QColor(240, 240, 240));
  painter->drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
  painter->restore();
}

}  // namespace richedit
