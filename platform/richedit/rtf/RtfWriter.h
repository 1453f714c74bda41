#pragma once
// Writes a range of a QTextDocument as a complete RTF document.

#include <QByteArray>

class QTextDocument;

namespace richedit::rtf {

struct WriteOptions {
  bool plainRtf = false;   // only the formats every RTF reader knows
  bool noObjects = false;  // objects written as their result or placeholder only
};

class RtfWriter {
 public:
  // Writes [from, to) in QTextCursor positions; 0 .. characterCount() - 1 is the whole document.
  QByteArray write(const QTextDocument& doc, int from, int to, const WriteOptions& options = {});
};

}  // namespace richedit::rtf
