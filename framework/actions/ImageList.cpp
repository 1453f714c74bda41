#include "framework/actions/ImageList.h"

#include <QPixmap>

namespace kl {

int TImageList::Add(const QString& path) {
  QPixmap picture(path);
  if (!picture.isNull() && picture.size() != size_)
    picture = picture.scaled(size_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  images_.emplace_back(picture);
  return Count() - 1;
}

QIcon TImageList::Icon(int index) const {
  if (index < 0 || index >= Count()) return QIcon();
  return images_[std::size_t(index)];
}

}  // namespace kl
