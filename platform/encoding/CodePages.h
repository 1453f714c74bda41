#pragma once
// Text in the code pages that word processors write: the Windows pages, the Mac pages (Japanese
// 10001 included) and the double-byte Far-East pages, read through iconv; the Mac pages iconv
// lacks come from tables of our own. A page nobody knows reads as Windows-1252, never fails.

#include <QString>
#include <string_view>

namespace textenc {

// The Symbol character set keeps no code page: its bytes stand for the private-use characters
// U+F000 + byte, as word processors read them.
constexpr int kSymbolCodePage = 42;

// The code page of a character set number (bCharSet, \fcharset); 0 for "the document's own".
int codePageOfCharset(int charset);

// The character set number that stands for a code page (0 when there is none).
int charsetOfCodePage(int codePage);

// True when bytes in codePage can form two-byte characters.
bool isDoubleByteCodePage(int codePage);

// True when the byte begins a two-byte character in codePage.
bool isLeadByte(int codePage, unsigned char byte);

// Appends the text of bytes in codePage to out. NUL bytes read as spaces; a byte the page does
// not define (or a lead byte without its trail) keeps its own value, so nothing is dropped.
void decodeCodePage(int codePage, std::string_view bytes, QString& out);

// The byte of a private-use Symbol character (U+F020..U+F0FF), or -1 for any other character.
int symbolByte(char16_t c);

}  // namespace textenc
