#pragma once
// Draws pictures: the image the document holds for the picture, at the picture's size, made
// smaller to fit the width of the text when it is wider (only on screen: the data stay whole);
// a picture kind that cannot be shown is drawn as a framed placeholder of its goal size.
// A picture read from RTF keeps only the bytes of its group; it is decoded when it is drawn,
// at the size it is drawn at, and a few such images are kept for the next paint.

#include <QImage>
#include <QObject>
#include <QTextObjectInterface>

class QTextImageFormat;

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

// The picture as an image of the given size in pixels (its own size when size is not valid),
// or a null image for a kind that is not shown or data that is not sound.
QImage pictureImage(const QTextDocument& doc, const QTextImageFormat& format, QSize size = {});

}  // namespace richedit
