// Cut, copy and paste. The clipboard gets plain text and RTF (and a lone picture as an
// image); a paste takes RTF when offered, else plain text, always within the text limit and
// the protection rules.

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QTextDocument>
#include <QTextImageFormat>

#include "platform/richedit/RichEditEngine.h"
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
    const QVariant data = doc_->resource(QTextDocument::ImageResource, QUrl(image.name()));
    if (data.canConvert<QImage>()) mime->setImageData(data.value<QImage>());
  }
  text.remove(QChar::ObjectReplacementCharacter);
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QLatin1Char('\v'), QLatin1Char('\n'));
  mime->setText(text);
  if (!plainTextMode()) {
    mime->setData(QStringLiteral("text/rtf"), rtf::RtfWriter().write(*doc_, from, to));
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
  c.removeSelectedText();
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
  const QByteArray rtfData = plainTextMode() ? QByteArray() : rtfOf(mime);
  c.beginEditBlock();
  c.removeSelectedText();
  const int start = c.position();
  if (!rtfData.isEmpty()) {
    const int before = textLength();
    if (rtf::RtfReader().read(rtfData, c).ok) {
      // What does not fit under the limit is left out, from the end.
      const int inserted = textLength() - before;
      if (inserted > room) {
        QTextCursor excess = rangeCursor(start + room, start + inserted);
        excess.removeSelectedText();
        QApplication::beep();
      }
      c.endEditBlock();
      setCursor(rangeCursor(start + std::min(inserted, room), start + std::min(inserted, room)));
      return;
    }
  }
  if (mime.hasText()) {
    QString text = fromControlText(mime.text());
    if (text.size() > room) QApplication::beep();
    cutToRoom(text, room);
    c.insertText(text);
  }
  c.endEditBlock();
  setCursor(c);
}

bool RichEditEngine::canPaste(const QMimeData* mime) const {
  return mime != nullptr && (mime->hasText() || !rtfOf(*mime).isEmpty());
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
  c.removeSelectedText();
  setCursor(c);
  return 0;
}

LRESULT RichEditEngine::onCanPaste() {
  return canPaste(QApplication::clipboard()->mimeData()) ? 1 : 0;
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
