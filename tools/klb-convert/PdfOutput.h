#pragma once
// klb-convert's PDF output: the entry printed through the editor's own printing road into a
// PDF file, as the program prints it.

#include <QByteArray>
#include <QString>

// Prints the document in `data` (RTF, or plain text when `text` is set) into `outputPath`;
// answers the tool's exit code, having said what went wrong on standard error.
int printPdf(const QByteArray& data, bool text, const QString& inputPath,
             const QString& outputPath);
