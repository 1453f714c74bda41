#pragma once
// Pictures scaled to the size they are drawn at, kept between paints: scrolling past a large
// photo draws a ready image instead of scaling millions of pixels on every paint.

#include <QCache>
#include <QImage>
#include <QSize>
#include <QString>

namespace richedit {

class ScaledPictureCache {
 public:
  // The image named name scaled smoothly to size, made once and kept while it is used.
  QImage scaled(const QString& name, const QImage& image, QSize size);

 private:
  struct Entry {
    QImage image;
    qint64 sourceKey;  // the image it was scaled from, so a changed picture is scaled again
  };
  // In kilobytes: a few screens of large pictures.
  QCache<QString, Entry> entries_{64 * 1024};
};

}  // namespace richedit
