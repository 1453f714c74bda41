#pragma once
// Between the character record (CHARFORMAT 60 bytes, CHARFORMAT2 84 bytes) and the document's
// character formats as DocumentFormat.h keeps them.

#include <QTextCharFormat>

#include "platform/richedit/RichEditTypes.h"

namespace richedit {

// Reads a caller's record of either size into the larger form; false for any other size.
bool readCharRecord(LPARAM from, CHARFORMAT2A& record, bool& large);
void writeCharRecord(const CHARFORMAT2A& record, bool large, LPARAM to);

// Fills every field (not dwMask) from a format that is already merged over the default.
void charFormatToRecord(const QTextCharFormat& format, CHARFORMAT2A& record);
// The mask bits of the attributes in which two merged formats differ.
DWORD charFormatDifferences(const QTextCharFormat& a, const QTextCharFormat& b);
// Sets or clears the attributes the record's mask names.
void applyCharRecord(const CHARFORMAT2A& record, bool large, QTextCharFormat& format);

}  // namespace richedit
