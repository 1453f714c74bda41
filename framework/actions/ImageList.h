#pragma once
// An image list: glyphs of one size, addressed by index, shared by the actions, the menus and
// the tool bars that show them.

#include <QIcon>
#include <QSize>
#include <QString>
#include <vector>

namespace kl {

class TImageList {
 public:
  explicit TImageList(QSize size) : size_(size) {}

  QSize Size() const { return size_; }
  int Count() const { return int(images_.size()); }
  // Appends the picture at the path (a resource path or a file); answers its index.
  int Add(const QString& path);
  // An empty icon for an index outside the list (no image).
  QIcon Icon(int index) const;

 private:
  QSize size_;
  std::vector<QIcon> images_;
};

}  // namespace kl
