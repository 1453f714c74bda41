// Display-line queries: lines are as laid out at the control's current width.

#include <cstdint>
#include <cstring>

#include "platform/encoding/Utf8.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/TextConversion.h"

namespace richedit {

LRESULT RichEditEngine::onGetLineCount() {
  return lines_.lineCount();
}

LRESULT RichEditEngine::onLineIndex(WPARAM line) {
  LONG index = LONG(std::intptr_t(line));
  if (index == -1) index = lines_.lineFromPosition(cursor().position());
  LineMap::Line l;
  return lines_.line(index, l) ? l.start : -1;
}

LRESULT RichEditEngine::onLineLength(WPARAM pos) {
  LONG p = LONG(std::intptr_t(pos));
  if (p == -1) p = cursor().position();
  if (p < 0 || p >= textLength()) return 0;
  LineMap::Line l;
  return lines_.line(lines_.lineFromPosition(p), l) ? l.length : 0;
}

LRESULT RichEditEngine::onLineFromChar(LPARAM pos) {
  LONG p = LONG(pos);
  if (p == -1) p = cursor().position();
  return lines_.lineFromPosition(std::max<LONG>(p, 0));
}

// The buffer's first 16-bit word is its capacity in bytes; the line is copied with its
// paragraph break (CR) and without a terminating zero. Answers the bytes copied.
LRESULT RichEditEngine::onGetLine(WPARAM line, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (out == nullptr) return 0;
  WORD capacity = 0;
  std::memcpy(&capacity, out, sizeof capacity);
  LineMap::Line l;
  if (capacity == 0 || !lines_.line(LONG(std::intptr_t(line)), l)) return 0;
  QString text = textOf(l.start, l.start + l.length);
  if (l.endsParagraph) text += QLatin1Char('\r');
  const QByteArray utf8 = text.toUtf8();
  const std::size_t n = textenc::utf8PrefixLength(utf8, capacity);
  std::memcpy(out, utf8.constData(), n);
  return LRESULT(n);
}

}  // namespace richedit
