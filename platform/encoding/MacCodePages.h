#pragma once
// The Mac single-byte code pages that iconv does not carry (Arabic, Greek, Turkish), as tables.

namespace textenc {

// The 128 characters of bytes 0x80..0xFF of a Mac code page that iconv lacks (0 where the page
// defines none), or nullptr when the page is not one of them.
const char16_t* macPageHighHalf(int codePage);

}  // namespace textenc
