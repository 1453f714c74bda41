#pragma once
// Writes a range of a QTextDocument as a complete RTF document.

#include <QByteArray>
#include <functional>

class QTextImageFormat;

class QTextDocument;

namespace richedit::rtf {

struct WriteOptions {
  bool plainRtf = false;   // leave out the language keywords (\deflang)
  bool noObjects = false;  // objects written as their result or placeholder only
  // Whether a range that reaches the end of the text takes in the final paragraph mark: the
  // whole document does; a selection does only when it was selected too.
  bool finalMark = true;
  // The group to write for an object character in place of the one it was read with (an
  // object that changed); empty keeps the group as read.
  std::function<QByteArray(const QTextImageFormat&)> objectGroup;
};

class RtfWriter {
 public:
  // Writes [from, to) in QTextCursor positions; 0 .. characterCount() - 1 is the whole document.
  // Each paragraph mark inside the range writes a \par; a range that reaches the end of the
  // document also ends with the last paragraph's \par, so that its properties are kept (unless
  // the options leave the final mark out).
  QByteArray write(const QTextDocument& doc, int from, int to, const WriteOptions& options = {});
};

}  // namespace richedit::rtf
