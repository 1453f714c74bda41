#pragma once
// The text encoding of profile files: written as UTF-8 with CR LF line ends; read line by line,
// where a line that is not valid UTF-8 (a file written on the original platform) is decoded as
// Windows-1252.

#include <QByteArray>
#include <QString>
#include <vector>

namespace profile {

// Splits the file's bytes into lines (LF or CR LF ends; a UTF-8 byte-order mark is skipped).
std::vector<QString> DecodeIniLines(const QByteArray& bytes);

// The file's bytes: every line in UTF-8 followed by CR LF.
QByteArray EncodeIniLines(const std::vector<QString>& lines);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF).
bool IsValidUtf8(const char* data, qsizetype size);

// Decodes Windows-1252 bytes; the five bytes that code page leaves undefined map to the control
// characters of the same value, as the original platform does.
QString DecodeWindows1252(const char* data, qsizetype size);

}  // namespace profile
