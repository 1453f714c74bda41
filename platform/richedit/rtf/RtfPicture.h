#pragma once
// What a {\pict} group says about its picture, and how it becomes something to show: a decoded
// QImage for the bitmap kinds, a grey placeholder of the goal size for every other kind.

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QSize>
#include <QString>

#include "platform/richedit/rtf/RtfControlWords.h"

namespace richedit::rtf {

struct PictureData {
  Word kind = Word::WMetafile;  // the blip keyword; metafile when the group names none
  QByteArray data;              // hex or \bin data, decoded
  // A bitmap's size is in its header; its rows are counted here rather than kept, as the group
  // itself is kept and decoded when shown.
  qint64 bytesNotKept = 0;
  int width = 0, height = 0;          // \picw \pich: pixels for bitmaps, 0.01 mm for metafiles
  int goalWidth = 0, goalHeight = 0;  // twips
  int scaleX = 100, scaleY = 100;     // per cent
  int bitsPerPixel = 1, planes = 1, widthBytes = 0;  // \wbitmap layout

  QString kindName() const;  // "dibitmap", "pngblip", "wmetafile"...
  bool isBitmap() const;     // a kind whose pixels this program decodes
};

// Pictures larger than this are not decoded: they are shown as a placeholder.
constexpr qint64 kMaxPicturePixels = 40'000'000;
constexpr int kMaxPictureSide = 20'000;

// The picture's size in pixels as its data states it, read from the header alone; an invalid
// size when the kind is not shown or the header is not sound.
QSize pixelSizeOf(const PictureData& picture);

// The decoded picture, scaled to scaledTo when that is valid (a large photo is then never kept
// at full size), or a null image when the kind is not shown, the data is not sound or the
// picture has more than kMaxPicturePixels.
QImage decodePicture(const PictureData& picture, QSize scaledTo = {});

// The size the picture is shown at, in twips, from the goal size, the scale and the pixels.
QSize shownSizeTwips(const PictureData& picture, QSize pixels);

// The picture that a kept group describes: a {\pict} group, or a group that holds one (a
// \shppict group with its \nonshppict fallback); its data decoded from hex or \bin.
PictureData readPictureGroup(QByteArrayView group);

// The size in twips a picture of these pixels is given when it comes without one: one pixel to
// 15 twips (96 per inch), made smaller where needed to fit a page's text, 6.5 by 9 inches, so
// that every reader shows it within the page.
QSize pageFittedGoalTwips(qint64 width, qint64 height);

// The width and height a \dibitmap picture's header gives.
QSize dibitmapPixels(const PictureData& picture);

// The \dibitmap group as read, its \dibitmap word given the picture's sizes: "\dibitmap0\picwN
// \pichN\picwgoalN\pichgoalN", for a picture that came without them.
QByteArray sizedDibitmapGroup(QByteArrayView group, const PictureData& picture, QSize twips);

// A grey box to stand for a picture or object that is not shown.
QImage placeholderImage();

}  // namespace richedit::rtf
