#pragma once
// Text as it crosses the control's interface: a paragraph break is CR (one position), a line
// break inside a paragraph is VT, char buffers hold UTF-8, and bytes that are not UTF-8 are
// read as Windows-1252 so that files from the original platform still open.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace richedit {

// Document text (paragraph and line separators) to the control's form (CR, VT).
QString toControlText(const QString& documentText);
// The control's form (CR, LF or CR LF for a break; CR CR LF is a blank as on the platform; VT
// a line break) to what QTextCursor::insertText builds paragraphs from.
QString fromControlText(const QString& text);
// CR becomes CR LF, as WM_GETTEXT and plain-text streams give breaks.
QString withCrLf(const QString& controlText);

// Bytes to text: a UTF-8 byte-order mark is dropped; invalid UTF-8 is read as Windows-1252.
QString decodeText(QByteArrayView bytes);

}  // namespace richedit
