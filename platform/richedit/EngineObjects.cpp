// Objects in the text: files pasted or dropped from the desktop's file manager (a text/uri-list)
// become packaged files, or links when the person asks for links; picture files become
// pictures. Each object is one character, asked about through the host's callback.

#include <QApplication>
#include <QClipboard>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QTextDocument>
#include <QUrl>

#include "platform/ole/LinkedFileObject.h"
#include "platform/ole/ObjectShell.h"
#include "platform/ole/PackageObject.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

namespace {

// The files a file manager put into the data: local files only.
QStringList localFilesOf(const QMimeData& mime) {
  QStringList files;
  if (!mime.hasUrls()) return files;
  for (const QUrl& url : mime.urls()) {
    if (!url.isLocalFile()) return {};
    files << url.toLocalFile();
  }
  return files;
}

}  // namespace

bool RichEditEngine::offersFiles(const QMimeData& mime) const {
  return !plainTextMode() && !localFilesOf(mime).isEmpty();
}

bool RichEditEngine::acceptsData(std::uint32_t reco) {
  if (oleCallback_ == nullptr) return true;
  std::uint16_t format = 0;
  return ole::SUCCEEDED(oleCallback_->QueryAcceptData(nullptr, &format, reco, true, nullptr));
}

// Inserts the files at the cursor; answers false, with nothing inserted, when none could be.
// A file that cannot be taken is named in a message; the others still go in.
bool RichEditEngine::insertFiles(QTextCursor& c, const QMimeData& mime, FileInsert how) {
  QStringList problems;
  bool any = false;
  for (const QString& path : localFilesOf(mime)) {
    QString error;
    if (how == FileInsert::Embed && ole::isPictureFileName(path) && QFileInfo(path).isFile()) {
      QImageReader reader(path);
      const QImage image = reader.read();
      if (!image.isNull()) {
        insertPicture(c, image);
        any = true;
        continue;
      }
    }
    ole::ComPtr<ole::FileObject> object;
    if (how == FileInsert::Link) {
      object = ole::LinkedFileObject::toFile(path, error);
    } else {
      object = ole::PackageObject::fromFile(path, error);
    }
    if (object) {
      const QTextImageFormat format = ole_->formatFor(object, c.position(), error);
      if (format.isValid()) {
        c.insertImage(format);
        any = true;
        continue;
      }
    }
    problems << error;
  }
  if (!problems.isEmpty()) {
    QApplication::beep();
    ole::objectShell().showMessage(&view_, problems.join(QLatin1Char('\n')));
  }
  return any;
}

void RichEditEngine::pasteLinks() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (mime == nullptr || !offersFiles(*mime)) return;
  pasteFrom(*mime, FileInsert::Link);
}

bool RichEditEngine::insertObject(ole::ComPtr<ole::FileObject> object, int cp) {
  if (options_ & ECO_READONLY) return false;
  NotifyBatch batch(notifier_);
  QTextCursor c = cp < 0 ? cursor() : rangeCursor(cp, cp);
  QString error;
  const QTextImageFormat format = ole_->formatFor(object, c.selectionStart(), error);
  if (!format.isValid()) return false;
  c.beginEditBlock();
  c.removeSelectedText();
  c.insertImage(format);
  c.endEditBlock();
  setCursor(c);
  return true;
}

void RichEditEngine::objectChanged() {
  modified_ = true;
  notifier_.textChanged();
}

void RichEditEngine::activateObjectAt(int pos) {
  ole_->activate(pos);
}

bool RichEditEngine::isObjectAt(int pos) const {
  if (pos < 0 || pos >= textLength()) return false;
  QTextCursor c(doc_);
  c.setPosition(pos + 1);
  const QTextCharFormat format = c.charFormat();
  return format.isImageFormat() && doc_->characterAt(pos) == QChar::ObjectReplacementCharacter;
}

}  // namespace richedit
