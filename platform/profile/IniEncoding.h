#pragma once
// The text encoding of profile files: the lines the program writes are UTF-8 with CR LF line
// ends; reading goes line by line, where a line that is not valid UTF-8 (a file written on the
// original platform) is decoded as Windows-1252, and CR, LF and CR LF all end a line (old Mac
// editors write CR alone).

#include <QByteArray>
#include <QString>
#include <vector>

namespace profile {

// One line as it stands in the file: its bytes and the line end after them ("\r\n", "\n",
// "\r", or nothing for a last line without one).
struct RawLine {
  QByteArray text;
  QByteArray end;
};

// Splits the file's bytes into lines. Byte-order marks at the start are no line's text; they go
// to *marks when it is given.
std::vector<RawLine> SplitIniLines(const QByteArray& bytes, QByteArray* marks = nullptr);

// One line's text.
QString DecodeIniLine(const QByteArray& bytes);

// The text of every line of the file.
std::vector<QString> DecodeIniLines(const QByteArray& bytes);

// A line as the program writes it: UTF-8 followed by CR LF.
QByteArray EncodeIniLine(const QString& line);

// The file's bytes: every line in UTF-8 followed by CR LF.
QByteArray EncodeIniLines(const std::vector<QString>& lines);

}  // namespace profile
