// The picture command: a bitmap or a photo chosen in the picture dialog goes into the entry in
// place of the selection.
#include <QFile>

#include "app/MainForm.h"
#include "editor/KlRichEdit.h"
#include "framework/MemoryStream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Photo.h"
#include "store/GlobalUnit.h"
#include "store/Pictures.h"

namespace kl {

namespace {

// The fragment for the chosen file: a photo by its own bytes, anything else read as a bitmap,
// whose loader names what is wrong with a file that is neither.
std::string PictureFragment(const std::string& fileName) {
  QByteArray start;
  QFile file(QString::fromStdString(fileName));
  if (file.open(QIODevice::ReadOnly)) start = file.read(8);
  file.close();
  std::string fragment;
  if (TPhoto::IsPhoto(start)) {
    TPhoto photo;
    photo.LoadFromFile(fileName);
    PhotoToRTF(photo, fragment);
  } else {
    TBitmap bitmap;
    bitmap.LoadFromFile(fileName);
    BitmapToRTF(bitmap, fragment);
  }
  return fragment;
}

}  // namespace

void TfrmMain::actInsertImageExecute(TObject*) {
  dgiOpenImage.initialDir = AppFolder();
  const std::optional<std::string> chosen = Dialogs().OpenFile(dgiOpenImage);
  if (!chosen) return;
  {
    TStringStream stream(PictureFragment(*chosen));
    InsertRTF(*rchMain, stream);
  }
  UpdateModifiedStatus();
}

}  // namespace kl
