#pragma once
// How one value stands in a profile line: blanks around it are not part of it, and one pair of
// matching quotes around it is removed on reading. Writing quotes a value only when reading it
// back would otherwise change it, so a title with leading blanks or in quotes survives.

#include <QString>
#include <QStringView>
#include <optional>

namespace profile {

// The value as read from the text after the "=".
QString UnquoteValue(QStringView raw);

// The text to put after the "=" so that UnquoteValue gives the value back. Line breaks cannot
// stand in a line; they become blanks.
QString QuoteValue(const QString& value);

// A whole number in decimal or, after "0x" or "0X", hexadecimal, with an optional sign and
// blanks around it; nothing when the text is anything else or out of the 32-bit range.
std::optional<int> ParseInteger(QStringView text);

// The value as the platform's fixed read buffer gives it back: at most maxChars characters
// (UTF-16 units), never ending in half a surrogate pair.
QString CutToBuffer(const QString& value, qsizetype maxChars);

}  // namespace profile
