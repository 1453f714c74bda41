#include "platform/profile/IniEncoding.h"

#include <QStringDecoder>
#include <array>
#include <cstring>

namespace profile {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool IsAscii(const char* data, qsizetype size) {
  for (qsizetype i = 0; i < size; ++i) {
    if (static_cast<unsigned char>(data[i]) >= 0x80) return false;
  }
  return true;
}

QString DecodeLine(const char* data, qsizetype size) {
  if (IsAscii(data, size)) return QString::fromLatin1(data, size);
  if (IsValidUtf8(data, size)) {
    // A U+FEFF inside the text is a character of it, not a byte-order mark to drop.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder(QByteArrayView(data, size));
  }
  return DecodeWindows1252(data, size);
}

}  // namespace

bool IsValidUtf8(const char* data, qsizetype size) {
  const auto* p = reinterpret_cast<const unsigned char*>(data);
  qsizetype i = 0;
  while (i < size) {
    const unsigned char c = p[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    int length = 0;
    char32_t value = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      length = 2;
      value = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      length = 3;
      value = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      length = 4;
      value = c & 0x07;
    } else {
      return false;
    }
    if (i + length > size) return false;
    for (int k = 1; k < length; ++k) {
      const unsigned char next = p[i + k];
      if ((next & 0xC0) != 0x80) return false;
      value = (value << 6) | (next & 0x3F);
    }
    if ((length == 3 && value < 0x800) || (length == 4 && value < 0x10000)) return false;
    if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

QString DecodeWindows1252(const char* data, qsizetype size) {
  QString text;
  text.reserve(size);
  for (qsizetype i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(data[i]);
    text.append(c >= 0x80 && c <= 0x9F ? QChar(kCp1252High[c - 0x80]) : QChar(c));
  }
  return text;
}

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
  return DecodeLine(bytes.constData(), bytes.size());
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
