#pragma once
// Small helpers shared by the RTF tests: read a stream into a fresh document, see its text.

#include <QByteArray>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "platform/richedit/rtf/RtfReader.h"

namespace richedit::rtf::test {

struct ReadDocument {
  std::unique_ptr<QTextDocument> doc = std::make_unique<QTextDocument>();
  ReadResult result;
};

ReadDocument readRtf(const QByteArray& rtf, const ReadOptions& options = {});

// The document's text with a CR for each paragraph break, as the control counts it.
QString textOf(const QTextDocument& doc);

// The character format at a position (of the character that starts there).
QTextCharFormat charFormatAt(const QTextDocument& doc, int position);

QByteArray writeAll(const QTextDocument& doc);

QByteArray readFile(const QString& path);

}  // namespace richedit::rtf::test
