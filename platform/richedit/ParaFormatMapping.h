#pragma once
// Between the paragraph record (PARAFORMAT 156 bytes, PARAFORMAT2 188 bytes) and the
// document's paragraph formats as DocumentFormat.h keeps them.

#include <QTextBlockFormat>

#include "platform/richedit/RichEditTypes.h"

namespace richedit {

bool readParaRecord(LPARAM from, PARAFORMAT2& record, bool& large);
void writeParaRecord(const PARAFORMAT2& record, bool large, LPARAM to);

void paraFormatToRecord(const QTextBlockFormat& format, PARAFORMAT2& record);
DWORD paraFormatDifferences(const QTextBlockFormat& a, const QTextBlockFormat& b);
// Sets what the record's mask names and lays the paragraph out from it.
void applyParaRecord(const PARAFORMAT2& record, bool large, QTextBlockFormat& format);

// Every attribute a paragraph record of the larger form can report: all the control holds.
constexpr DWORD kParaMaskLarge = PFM_ALL2;

}  // namespace richedit
