#pragma once
// Writes a range of a QTextDocument as a complete RTF document.

#include <QByteArray>

class QTextDocument;

namespace richedit::rtf {

struct WriteOptions {
  bool plainRtf = false;   // leave out the language keywords (\deflang)
  bool noObjects = false;  // objects written as their result or placeholder only
};

class RtfWriter {
 public:
  // Writes [from, to) in QTextCursor positions; 0 .. characterCount() - 1 is the whole document.
  // Each paragraph mark inside the range writes a \par; a range that reaches the end of the
  // document also ends with the last paragraph's \par, so that its properties are kept.
  QByteArray write(const QTextDocument& doc, int from, int to, const WriteOptions& options = {});
};

}  // namespace richedit::rtf
