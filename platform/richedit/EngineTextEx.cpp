// The extended text messages: EM_GETSELTEXT, EM_GETTEXTEX and EM_SETTEXTEX. Paragraph breaks
// come out as a bare CR unless CR LF is asked for; code page 1200 is UTF-16, every other code
// page is UTF-8 on this platform.

#include <QTextDocument>
#include <cstring>

#include "platform/encoding/Utf8.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/TextConversion.h"
#include "platform/richedit/rtf/RtfReader.h"

namespace richedit {

namespace {

// The text of a caller's buffer: UTF-16 up to its zero for code page 1200, else bytes.
QString textOfBuffer(LPARAM text, UINT codepage) {
  if (text == 0) return {};
  if (codepage == CP_UNICODE) return QString::fromUtf16(reinterpret_cast<const char16_t*>(text));
  return decodeText(QByteArrayView(reinterpret_cast<const char*>(text)));
}

}  // namespace

LRESULT RichEditEngine::onGetSelText(LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr) return 0;
  const CHARRANGE sel = selection();
  const QByteArray utf8 = textOf(sel.cpMin, std::min<LONG>(sel.cpMax, textLength())).toUtf8();
  std::memcpy(out, utf8.constData(), std::size_t(utf8.size()));
  out[utf8.size()] = '\0';
  return utf8.size();
}

// Copies as much as the buffer of cb bytes holds with its terminating zero, without cutting a
// character; answers the characters (UTF-16) or bytes copied, the zero not counted.
LRESULT RichEditEngine::onGetTextEx(WPARAM info, LPARAM buffer) {
  const auto* ask = reinterpret_cast<const GETTEXTEX*>(info);
  if (ask == nullptr || buffer == 0 || ask->cb == 0) return 0;
  int from = 0;
  int to = textLength();
  if (ask->flags & GT_SELECTION) {
    const CHARRANGE sel = selection();
    from = sel.cpMin;
    to = std::min<LONG>(sel.cpMax, to);
  }
  QString text = textOf(from, to);
  if (ask->flags & GT_USECRLF) text = withCrLf(text);
  if (ask->codepage == CP_UNICODE) {
    auto* out = reinterpret_cast<char16_t*>(buffer);
    qsizetype n = std::min<qsizetype>(text.size(), qsizetype(ask->cb / 2) - 1);
    if (n < 0) return 0;
    if (n > 0 && n < text.size() && text.at(n - 1).isHighSurrogate()) --n;
    std::memcpy(out, text.utf16(), std::size_t(n) * 2);
    out[n] = u'\0';
    return n;
  }
  char* out = reinterpret_cast<char*>(buffer);
  const QByteArray utf8 = text.toUtf8();
  const std::size_t n = textenc::utf8PrefixLength(utf8, std::size_t(ask->cb) - 1);
  std::memcpy(out, utf8.constData(), n);
  out[n] = '\0';
  return LRESULT(n);
}

// Replaces everything, or the selection, with the text given; RTF is read as RTF. Unless the
// undo history is to be kept, it is emptied and the modify flag stays as it was.
LRESULT RichEditEngine::onSetTextEx(WPARAM info, LPARAM text) {
  const auto* set = reinterpret_cast<const SETTEXTEX*>(info);
  if (set == nullptr) return 0;
  const char* bytes = reinterpret_cast<const char*>(text);
  const bool rtf = bytes != nullptr && (std::strncmp(bytes, "{\\rtf", 5) == 0 ||
                                        std::strncmp(bytes, "{\\urtf", 6) == 0);
  const bool keepUndo = (set->flags & ST_KEEPUNDO) != 0;
  const bool modifiedBefore = modified_;
  const bool selectionOnly = (set->flags & ST_SELECTION) != 0;
  if (selectionOnly || keepUndo) {
    QTextCursor c = selectionOnly ? cursor() : rangeCursor(0, textLength());
    if (!allowChange(c.selectionStart(), c.selectionEnd(), EM_SETTEXTEX, info, text)) return 0;
    c.beginEditBlock();
    removeSelected(c);
    if (!selectionOnly) c.setBlockFormat(defaultBlockFormat());  // a new text, as WM_SETTEXT
    if (rtf) {
      rtf::ReadOptions options;
      options.keepFinalBreak = selectionOnly;
      rtf::RtfReader().read(QByteArrayView(bytes), c, options);
    } else {
      c.insertText(fromControlText(textOfBuffer(text, set->codepage)));
    }
    c.endEditBlock();
    setCursor(selectionOnly ? c : QTextCursor(doc_));
  } else if (rtf) {
    onSetText(text);
  } else {
    replaceWholeText(textOfBuffer(text, set->codepage));
  }
  if (!keepUndo) {
    undo_.clear();
    modified_ = modifiedBefore;
  }
  return 1;
}

}  // namespace richedit
