#include "platform/profile/IniEncoding.h"

#include <cstring>

#include "platform/encoding/Utf8.h"

namespace profile {

std::vector<RawLine> SplitIniLines(const QByteArray& bytes, QByteArray* marks) {
  std::vector<RawLine> lines;
  const char* data = bytes.constData();
  const qsizetype size = bytes.size();
  qsizetype start = 0;
  // Byte-order marks are no text; a file may carry more than one after careless editing.
  while (size - start >= 3 && std::memcmp(data + start, "\xEF\xBB\xBF", 3) == 0) start += 3;
  if (marks) *marks = bytes.left(start);
  while (start < size) {
    qsizetype end = start;
    while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
    qsizetype next = end;
    if (next < size)
      next += (data[next] == '\r' && next + 1 < size && data[next + 1] == '\n') ? 2 : 1;
    lines.push_back({bytes.mid(start, end - start), bytes.mid(end, next - end)});
    start = next;
  }
  return lines;
}

QString DecodeIniLine(const QByteArray& bytes) {
  return textenc::decodeUtf8OrWindows1252(bytes);
}

std::vector<QString> DecodeIniLines(const QByteArray& bytes) {
  std::vector<QString> lines;
  for (const RawLine& line : SplitIniLines(bytes)) lines.push_back(DecodeIniLine(line.text));
  return lines;
}

QByteArray EncodeIniLine(const QString& line) {
  return line.toUtf8() + "\r\n";
}

QByteArray EncodeIniLines(const std::vector<QString>& lines) {
  QByteArray bytes;
  qsizetype total = 0;
  for (const QString& line : lines) total += line.size() + 2;
  bytes.reserve(total);
  for (const QString& line : lines) {
    bytes.append(line.toUtf8());
    bytes.append("\r\n", 2);
  }
  return bytes;
}

}  // namespace profile
