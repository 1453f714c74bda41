// Whole text, text ranges, replace-selection, the text limit and the modify flag. Text in
// char buffers is UTF-8; WM_GETTEXT, WM_GETTEXTLENGTH and EM_GETTEXTRANGE answer bytes.

#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <cstring>

#include "platform/encoding/Utf8.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"
#include "platform/richedit/TextConversion.h"
#include "platform/richedit/rtf/RtfReader.h"

namespace richedit {

namespace {

QString textArgument(LPARAM text) {
  const char* p = reinterpret_cast<const char*>(text);
  return p != nullptr ? decodeText(QByteArrayView(p, qsizetype(std::strlen(p)))) : QString();
}

// Copies UTF-8 into a caller's buffer without cutting a character; answers the bytes copied.
std::size_t copyUtf8(const QByteArray& utf8, char* buffer, std::size_t capacity) {
  const std::size_t n = textenc::utf8PrefixLength(utf8, capacity);
  std::memcpy(buffer, utf8.constData(), n);
  return n;
}

}  // namespace

void RichEditEngine::resetDocument() {
  undo_.withoutUndo([&] {
    QTextCursor c(doc_);
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    c.setBlockFormat(defaultBlockFormat());
    c.setBlockCharFormat(QTextCharFormat());
  });
  undo_.clear();
}

void RichEditEngine::replaceWholeText(const QString& text) {
  ++suppressModify_;
  resetDocument();
  undo_.withoutUndo([&] {
    QTextCursor c(doc_);
    c.insertText(fromControlText(text), QTextCharFormat());
  });
  --suppressModify_;
  setCursor(QTextCursor(doc_));
}

LRESULT RichEditEngine::onSetText(LPARAM text) {
  const char* p = reinterpret_cast<const char*>(text);
  const QByteArrayView bytes =
      p != nullptr ? QByteArrayView(p, qsizetype(std::strlen(p))) : QByteArrayView();
  notifier_.wholeTextReplaced();
  if (bytes.startsWith("{\\rtf")) {
    ++suppressModify_;
    resetDocument();
    undo_.withoutUndo([&] {
      QTextCursor c(doc_);
      rtf::RtfReader reader;
      if (!reader.read(bytes, c).ok) resetDocument();
    });
    --suppressModify_;
    setCursor(QTextCursor(doc_));
    modified_ = false;
    return 1;
  }
  replaceWholeText(decodeText(bytes));
  modified_ = false;  // a new text is the text as it stands, not a change to it
  return 1;
}

LRESULT RichEditEngine::onGetText(WPARAM size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr || size == 0) return 0;
  const QByteArray utf8 = withCrLf(textOf(0, textLength())).toUtf8();
  const std::size_t n = copyUtf8(utf8, out, std::size_t(size) - 1);
  out[n] = '\0';
  return LRESULT(n);
}

LRESULT RichEditEngine::onGetTextLength() {
  return LRESULT(textBytes_.withCrLfUtf8());
}

LRESULT RichEditEngine::onGetTextLengthEx(WPARAM info) {
  const auto* ask = reinterpret_cast<const GETTEXTLENGTHEX*>(info);
  const DWORD flags = ask != nullptr ? ask->flags : GTL_DEFAULT;
  if ((flags & GTL_NUMCHARS) && (flags & GTL_NUMBYTES)) return LRESULT(E_INVALIDARG);
  const bool crlf = (flags & GTL_USECRLF) != 0;
  const LRESULT chars = textLength() + (crlf ? doc_->blockCount() - 1 : 0);
  if (!(flags & GTL_NUMBYTES)) return chars;
  if (ask != nullptr && ask->codepage == CP_UNICODE) return chars * 2;
  const QString text = textOf(0, textLength());
  return (crlf ? withCrLf(text) : text).toUtf8().size();
}

// The buffer must hold the range's UTF-8 and a terminating zero: at most three bytes for each
// position, plus one.
LRESULT RichEditEngine::onGetTextRange(LPARAM range) {
  auto* r = reinterpret_cast<TEXTRANGEA*>(range);
  if (r == nullptr || r->lpstrText == nullptr) return 0;
  LONG from = r->chrg.cpMin;
  LONG to = r->chrg.cpMax;
  const LONG len = textLength();
  // A range refused leaves the caller's buffer as it was.
  if (from < 0) return 0;
  if ((to == -1 && from == 0) || to > len) to = len;  // {0, -1} is the whole text
  if (to <= from) return 0;
  const QByteArray utf8 = textOf(from, to).toUtf8();
  std::memcpy(r->lpstrText, utf8.constData(), std::size_t(utf8.size()));
  r->lpstrText[utf8.size()] = '\0';
  return utf8.size();
}

LRESULT RichEditEngine::onReplaceSel(WPARAM canUndo, LPARAM text) {
  QTextCursor c = cursor();
  const int from = c.selectionStart();
  const int to = c.selectionEnd();
  if (!allowChange(from, to, EM_REPLACESEL, canUndo, text)) return 0;
  const QString given = textArgument(text);
  QString insert = fromControlText(given);
  // What does not fit under the text limit is cut, as the platform does.
  const int room = std::max(0, textLimit_ - (textLength() - (to - from)));
  if (insert.size() > room) {
    int keep = room;
    if (keep > 0 && insert.at(keep - 1).isHighSurrogate()) --keep;
    insert.truncate(keep);
  }
  auto edit = [&] {
    removeSelected(c);
    if (!insert.isEmpty()) c.insertText(insert);
  };
  if (canUndo != 0) {
    c.beginEditBlock();
    edit();
    c.endEditBlock();
  } else {
    undo_.withoutUndo(edit);
  }
  setCursor(c);
  return given.size();  // the length passed, whatever the line breaks fold into
}

LRESULT RichEditEngine::onExLimitText(LPARAM limit) {
  textLimit_ = limit <= 0 ? 65536 : LONG(std::min<LPARAM>(limit, 0x7FFFFFFF));
  return 0;
}

LRESULT RichEditEngine::onGetModify() {
  return modified_ ? -1 : 0;  // the platform answers all bits set
}

LRESULT RichEditEngine::onSetModify(WPARAM flag) {
  modified_ = flag != 0;
  return 0;
}

bool RichEditEngine::allowTyping(const QString& text, UINT msg, WPARAM key) {
  const QTextCursor c = cursor();
  const int from = c.selectionStart();
  int to = c.selectionEnd();
  // In overwrite mode a character typed without a selection replaces the one after the caret.
  const bool overwrite = from == to && view_.overwriteMode() && !c.atBlockEnd() &&
                         text != QString(QChar::ParagraphSeparator);
  if (overwrite)
    to = std::min(from + int(text.size()), c.block().position() + c.block().length() - 1);
  if (textLength() - (to - from) + int(text.size()) > textLimit_) {
    QApplication::beep();
    return false;
  }
  return allowChange(from, to, msg, key, 0);
}

bool RichEditEngine::allowDelete(int from, int to, UINT msg, WPARAM key) {
  return allowChange(std::max(from, 0), std::min(to, textLength()), msg, key, 0);
}

}  // namespace richedit
