#pragma once
// UTF-8 as the program meets it in bytes: checking it, cutting it on a character boundary, and
// reading bytes that may instead be Windows-1252 from a file of the original platform.

#include <QByteArrayView>
#include <QString>
#include <cstddef>

namespace textenc {

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF).
bool isValidUtf8(QByteArrayView bytes);

// Well-formed UTF-8 as UTF-8, anything else as Windows-1252, so that no byte is lost. A U+FEFF
// in the bytes is a character of the text: callers that take it as a byte-order mark drop it.
QString decodeUtf8OrWindows1252(QByteArrayView bytes);

// The longest prefix of `utf8` of at most `capacity` bytes that ends on a character boundary.
std::size_t utf8PrefixLength(QByteArrayView utf8, std::size_t capacity);

}  // namespace textenc
