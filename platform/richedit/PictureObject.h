#pragma once
// Draws pictures: the image the document holds for the picture, at the picture's size, made
// smaller to fit the width of the text when it is wider (only on screen: the data stay whole);
// a picture kind that cannot be shown is drawn as a framed placeholder of its goal size.

#include <QObject>
#include <QTextObjectInterface>

#include "platform/richedit/ScaledPictureCache.h"

namespace richedit {

class PictureObject : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

 public:
  explicit PictureObject(QObject* parent) : QObject(parent) {}

  QSizeF intrinsicSize(QTextDocument* doc, int posInDocument, const QTextFormat& format) override;
  void drawObject(QPainter* painter, const QRectF& rect, QTextDocument* doc, int posInDocument,
                  const QTextFormat& format) override;

 private:
  ScaledPictureCache scaled_;
};

}  // namespace richedit
