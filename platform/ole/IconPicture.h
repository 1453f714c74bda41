#pragma once
// The icon picture of an object: an icon with a label under it, as the platform's metafile
// picture of an icon. The handle is made here and freed with DeleteIconPicture (or the
// editor's FreeIconPicture, which takes it apart as the platform's handles are taken apart).

#include <QImage>
#include <QString>

#include "platform/ole/OleTypes.h"

namespace ole {

// The picture itself: here an image of the icon and its label.
using HMETAFILE = QImage*;

struct METAFILEPICT {
  LONG mm = 8;              // MM_ANISOTROPIC
  LONG xExt = 0, yExt = 0;  // 0.01 mm
  HMETAFILE hMF = nullptr;
};

// Locking and freeing the handle and its picture (the handle is its own memory here).
METAFILEPICT* GlobalLock(HMETAFILEPICT handle);
void GlobalUnlock(HMETAFILEPICT handle);
void GlobalFree(HMETAFILEPICT handle);
void DeleteMetaFile(HMETAFILE picture);
// Frees a handle and the picture it holds.
void DeleteIconPicture(HMETAFILEPICT handle);

// The icon picture of a class: label is shown under the icon; with useTypeAsLabel and no
// label, the class's type name. None for a class that has no icon.
HMETAFILEPICT OleGetIconOfClass(const CLSID& clsid, const QString& label, bool useTypeAsLabel);
// The icon picture of a file by its name (its type's icon), labelled with that name.
HMETAFILEPICT iconPictureOfFile(const QString& fileName, const QString& label);
// A copy of a handle's picture, for a cache that keeps its own.
HMETAFILEPICT copyIconPicture(HMETAFILEPICT handle);

// The icon of a file type (by name), drawn at side x side pixels.
QImage fileTypeIcon(const QString& fileName, int side);
// An icon with a label under it, wrapped to at most two lines of a small font.
QImage iconWithLabel(const QImage& icon, const QString& label);

}  // namespace ole
