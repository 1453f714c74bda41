#pragma once
// Windows-1252, the code page of the original platform's files, both ways. The five bytes the
// page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of the
// same value in both directions, as the original platform reads them, so a round trip keeps them.

#include <QByteArrayView>
#include <QString>

namespace textenc {

QString decodeWindows1252(QByteArrayView bytes);

// The byte of a character in Windows-1252, or -1 when the page has none.
int windows1252Byte(char16_t c);

}  // namespace textenc
