#pragma once
// Turns bytes in a Windows code page into UTF-16. Single-byte pages decode through a 256-entry
// table built once per page with iconv; double-byte pages (932, 936, 949, 950, 1361) go through
// iconv itself, so a lead byte and its trail byte must arrive together.

#include <QString>
#include <string_view>

namespace richedit::rtf {

// The code page of an \fcharset value; 0 for the document's own code page.
int codePageOfCharset(int charset);

// The \fcharset value that stands for a code page (0 when there is none).
int charsetOfCodePage(int codePage);

class CodePageDecoder {
 public:
  // Appends the text of bytes in codePage to out. NUL bytes read as spaces; bytes the page does
  // not define keep their own value, so nothing is dropped.
  static void decode(int codePage, std::string_view bytes, QString& out);

  // True when bytes in codePage can form two-byte characters.
  static bool isDoubleByte(int codePage);
};

}  // namespace richedit::rtf
