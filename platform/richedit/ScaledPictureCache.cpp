#include "platform/richedit/ScaledPictureCache.h"

namespace richedit {

QImage ScaledPictureCache::scaled(const QString& name, const QImage& image, QSize size) {
  if (image.size() == size || size.isEmpty()) return image;
  const QString key = name + QLatin1Char('@') + QString::number(size.width()) + QLatin1Char('x') +
                      QString::number(size.height());
  if (const Entry* kept = entries_.object(key); kept && kept->sourceKey == image.cacheKey())
    return kept->image;
  QImage made = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const qsizetype kilobytes = std::max<qsizetype>(1, made.sizeInBytes() / 1024);
  entries_.insert(key, new Entry{made, image.cacheKey()}, kilobytes);
  return made;
}

}  // namespace richedit
