#pragma once
// Picture and object data come as hex digits spread over many text runs; this turns them into
// bytes with one table look-up per digit. Whitespace and stray characters between digits are
// skipped, and an odd digit waits for its partner in the next run.

#include <QByteArray>
#include <string_view>

namespace richedit::rtf {

class HexDecoder {
 public:
  // Appends the bytes of the digits in text to out.
  void feed(std::string_view text, QByteArray& out);
  // Counts the bytes the digits in text make, as feed would append them, keeping none.
  qsizetype skip(std::string_view text);
  void reset() { pending_ = -1; }

 private:
  int pending_ = -1;  // the high digit of a byte not yet complete
};

// Writes bytes as lower-case hex digits, a line break after every lineLength digits.
void appendHex(QByteArray& out, const char* data, qsizetype size, int lineLength = 128);

}  // namespace richedit::rtf
