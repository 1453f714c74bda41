// Cut, copy and paste. The clipboard gets plain text and RTF (and a lone picture as an
// image); a paste takes RTF when offered, else plain text, always within the text limit and
// the protection rules.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include "platform/richedit/PictureObject.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditLibrary.h"
#include "platform/richedit/TextConversion.h"
#include "platform/richedit/rtf/RtfReader.h"
#include "platform/richedit/rtf/RtfWriter.h"

namespace richedit {

namespace {

const QString kOwnerFormat = QStringLiteral("application/x-kennel-logbook-richedit-owner");
const QString kRtfFormats[] = {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
                               QStringLiteral("text/richtext")};

QByteArray rtfOf(const QMimeData& mime) {
  for (const QString& format : kRtfFormats) {
    if (mime.hasFormat(format)) return mime.data(format);
  }
  return {};
}

// Picture data on the clipboard: Qt's own image, or bytes in an image format (image/png...).
bool offersImage(const QMimeData& mime) {
  if (mime.hasImage()) return true;
  for (const QString& format : mime.formats()) {
    if (format.startsWith(QLatin1String("image/"))) return true;
  }
  return false;
}

QImage imageOf(const QMimeData& mime) {
  if (mime.hasImage()) {
    const QImage image = qvariant_cast<QImage>(mime.imageData());
    if (!image.isNull()) return image;
  }
  for (const QString& format : mime.formats()) {
    if (!format.startsWith(QLatin1String("image/"))) continue;
    const QImage image = QImage::fromData(mime.data(format));
    if (!image.isNull()) return image;
  }
  return {};
}

int cutToRoom(QString& text, int room) {
  if (text.size() > room) {
    int keep = std::max(room, 0);
    if (keep > 0 && text.at(keep - 1).isHighSurrogate()) --keep;
    text.truncate(keep);
  }
  return int(text.size());
}

}  // namespace

QMimeData* RichEditEngine::mimeForSelection() const {
  auto* mime = new QMimeData;
  const QTextCursor c = cursor();
  if (!c.hasSelection()) return mime;
  const int from = c.selectionStart();
  const int to = c.selectionEnd();
  QString text = textOf(from, to);
  if (text == QString(QChar::ObjectReplacementCharacter)) {
    const QTextCursor one = rangeCursor(to, to);
    const QTextImageFormat image = one.charFormat().toImageFormat();
    const QImage picture = pictureImage(*doc_, image);
    if (!picture.isNull()) mime->setImageData(picture);
  }
  text.remove(QChar::ObjectReplacementCharacter);
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QLatin1Char('\v'), QLatin1Char('\n'));
  // The copy holds exactly the breaks selected: the final mark only when it was selected too.
  if (selectionPastMark_) text += QLatin1Char('\n');
  mime->setText(text);
  if (!plainTextMode()) {
    rtf::WriteOptions options;
    options.finalMark = selectionPastMark_;
    mime->setData(QStringLiteral("text/rtf"), rtf::RtfWriter().write(*doc_, from, to, options));
  }
  return mime;
}

void RichEditEngine::copy() {
  const QTextCursor c = cursor();
  if (!c.hasSelection()) return;
  QMimeData* mime = mimeForSelection();
  if (clipboardOwnerId_.isEmpty()) {
    static int serial = 0;
    clipboardOwnerId_ =
        QString::number(quintptr(this), 16) + QLatin1Char('-') + QString::number(++serial);
  }
  mime->setData(kOwnerFormat, clipboardOwnerId_.toUtf8());
  const QString text = textOf(c.selectionStart(), c.selectionEnd());
  copiedObjects_ = int(text.count(QChar::ObjectReplacementCharacter));
  copiedChars_ = int(text.size());
  QApplication::clipboard()->setMimeData(mime);
}

void RichEditEngine::cut() {
  NotifyBatch batch(notifier_);
  QTextCursor c = cursor();
  if (!c.hasSelection() || (options_ & ECO_READONLY)) return;
  if (!allowChange(c.selectionStart(), c.selectionEnd(), WM_CUT, 0, 0)) return;
  copy();
  removeSelected(c);
  setCursor(c);
}

void RichEditEngine::paste() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (mime != nullptr) pasteFrom(*mime);
}

void RichEditEngine::pasteFrom(const QMimeData& mime) {
  NotifyBatch batch(notifier_);
  if (options_ & ECO_READONLY) return;
  QTextCursor c = cursor();
  const int from = c.selectionStart();
  const int to = c.selectionEnd();
  if (!allowChange(from, to, WM_PASTE, 0, 0)) return;
  const int room = textLimit_ - (textLength() - (to - from));
  if (room <= 0) {
    QApplication::beep();
    return;
  }
  c.beginEditBlock();
  removeSelected(c);
  const int end = insertMime(c, mime, room);
  c.endEditBlock();
  setCursor(rangeCursor(end, end));
}

// Inserts what the data offers at the cursor, at most `room` positions of it: RTF when it has
// some (and the control is rich), else a picture when it has one and no text, else its text.
// Answers the position after the insertion.
int RichEditEngine::insertMime(QTextCursor& c, const QMimeData& mime, int room) {
  const int start = c.position();
  const QByteArray rtfData = plainTextMode() ? QByteArray() : rtfOf(mime);
  if (!rtfData.isEmpty()) {
    const int before = textLength();
    rtf::ReadOptions keepBreak;  // a pasted fragment keeps its last paragraph break
    keepBreak.keepFinalBreak = true;
    if (rtf::RtfReader().read(rtfData, c, keepBreak).ok) {
      // What does not fit under the limit is left out, from the end.
      const int inserted = textLength() - before;
      if (inserted > room) {
        QTextCursor excess = rangeCursor(start + room, start + inserted);
        excess.removeSelectedText();
        QApplication::beep();
      }
      return start + std::min(inserted, room);
    }
  }
  if (!mime.hasText() && !plainTextMode() && offersImage(mime)) {
    const QImage image = imageOf(mime);
    if (image.isNull()) {
      QApplication::beep();  // picture data that cannot be read: nothing is inserted
    } else if (room > 0) {
      insertPicture(c, image);
    }
    return c.position();
  }
  if (mime.hasText()) {
    QString text = fromControlText(mime.text());
    if (text.size() > room) QApplication::beep();
    cutToRoom(text, room);
    c.insertText(text);
  }
  return c.position();
}

// A picture from the clipboard becomes a picture character holding the image itself; having
// no source group, it is written back as a PNG picture.
void RichEditEngine::insertPicture(QTextCursor& c, const QImage& image) {
  static int serial = 0;
  const QString name = QStringLiteral("kl-pasted-%1-%2").arg(quintptr(this), 0, 16).arg(++serial);
  doc_->addResource(QTextDocument::ImageResource, QUrl(name), image);
  QTextImageFormat picture;
  picture.merge(c.charFormat());
  picture.setName(name);
  picture.setWidth(image.width());
  picture.setHeight(image.height());
  c.insertImage(picture);
}

// Text dropped at pos, moved from the selection when `move` says so. The removal and the
// insertion are each put to the host when they touch protected text, as a cut and a paste
// would be; either refused leaves the document as it was.
bool RichEditEngine::drop(const QMimeData& mime, int pos, DropMove move) {
  NotifyBatch batch(notifier_);
  if (options_ & ECO_READONLY) return false;
  pos = std::clamp(pos, 0, textLength());
  const QTextCursor sel = cursor();
  const int from = sel.selectionStart();
  const int to = sel.selectionEnd();
  const bool moving = move == DropMove::Yes && from < to;
  if (moving && pos >= from && pos <= to) return false;  // dropped onto itself
  if (moving && !allowChange(from, to, WM_CUT, 0, 0)) return false;
  if (!allowChange(pos, pos, WM_PASTE, 0, 0)) return false;
  const int room = textLimit_ - textLength() + (moving ? to - from : 0);
  if (room <= 0) {
    QApplication::beep();
    return false;
  }
  QTextCursor c(doc_);
  c.beginEditBlock();
  if (moving) {
    QTextCursor source = rangeCursor(from, to);
    source.removeSelectedText();
    if (pos > to) pos -= to - from;
  }
  c.setPosition(pos);
  const int end = insertMime(c, mime, room);
  c.endEditBlock();
  setCursor(rangeCursor(pos, end));
  return true;
}

// Text dragged from this control into another program: the move takes it away here, so the
// host is asked first, as for a cut.
bool RichEditEngine::removeDragged(int from, int to) {
  NotifyBatch batch(notifier_);
  if ((options_ & ECO_READONLY) || from >= to) return false;
  if (!allowChange(from, to, WM_CUT, 0, 0)) return false;
  QTextCursor c = rangeCursor(from, to);
  c.removeSelectedText();
  setCursor(c);
  return true;
}

bool RichEditEngine::canPaste(const QMimeData* mime) const {
  if (mime == nullptr) return false;
  return mime->hasText() || !rtfOf(*mime).isEmpty() || (!plainTextMode() && offersImage(*mime));
}

LRESULT RichEditEngine::onCut() {
  cut();
  return 0;
}

LRESULT RichEditEngine::onCopy() {
  copy();
  return 0;
}

LRESULT RichEditEngine::onPaste() {
  paste();
  return 0;
}

LRESULT RichEditEngine::onClearSelection() {
  QTextCursor c = cursor();
  if (!c.hasSelection() || (options_ & ECO_READONLY)) return 0;
  if (!allowChange(c.selectionStart(), c.selectionEnd(), WM_CLEAR, 0, 0)) return 0;
  removeSelected(c);
  setCursor(c);
  return 0;
}

// With a format, whether the clipboard holds that one and the control could take it; without
// (0), whether it holds anything the control can paste.
LRESULT RichEditEngine::onCanPaste(WPARAM format) {
  constexpr WPARAM CF_TEXT = 1, CF_BITMAP = 2, CF_OEMTEXT = 7, CF_DIB = 8, CF_UNICODETEXT = 13,
                   CF_DIBV5 = 17;
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (mime == nullptr) return 0;
  switch (format) {
    case 0:
      return canPaste(mime) ? 1 : 0;
    case CF_TEXT:
    case CF_OEMTEXT:
    case CF_UNICODETEXT:
      return mime->hasText() ? 1 : 0;
    case CF_BITMAP:
    case CF_DIB:
    case CF_DIBV5:
      return !plainTextMode() && offersImage(*mime) ? 1 : 0;
    default:
      break;
  }
  if (format == RegisterClipboardFormat("Rich Text Format") ||
      format == RegisterClipboardFormat("Rich Text Format Without Objects")) {
    return !plainTextMode() && !rtfOf(*mime).isEmpty() ? 1 : 0;
  }
  return 0;
}

// The host may keep what this control put on the clipboard or have it cleared (non-zero).
void RichEditEngine::aboutToBeDestroyed() {
  if (clipboardOwnerId_.isEmpty()) return;
  QClipboard* clipboard = QApplication::clipboard();
  const QMimeData* mime = clipboard->mimeData();
  if (mime == nullptr || mime->data(kOwnerFormat) != clipboardOwnerId_.toUtf8()) return;
  ENSAVECLIPBOARD record{};
  record.cObjectCount = copiedObjects_;
  record.cch = copiedChars_;
  if (notifier_.notify(record, EN_SAVECLIPBOARD) != 0) clipboard->clear();
}

}  // namespace richedit
