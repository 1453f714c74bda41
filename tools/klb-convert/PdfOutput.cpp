#include "tools/klb-convert/PdfOutput.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QTemporaryFile>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "editor/KlRichEdit.h"
#include "framework/Exception.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/printer/Printer.h"
#include "platform/files/DurableFile.h"
#include "platform/files/FileError.h"
#include "platform/richedit/ByteArraySource.h"
#include "platform/richedit/RichEditTypes.h"

using namespace richedit;

namespace {

int fail(const QString& message) {
  std::fprintf(stderr, "klb-convert: %s\n", message.toLocal8Bit().constData());
  return 1;
}

// A4, or Letter where the locale measures in inches, with the margins of a printed letter.
void setUpPaper(kl::TPrinter& printer) {
  const bool letter = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem;
  printer.Device().setPageLayout(QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4),
                                             QPageLayout::Portrait, QMarginsF(54, 54, 54, 54),
                                             QPageLayout::Point));
}

}  // namespace

int printPdf(const QByteArray& data, bool text, const QString& inputPath,
             const QString& outputPath) {
  kl::TKlRichEdit edit;
  edit.Perform(EM_EXLIMITTEXT, 0, 0x7ffffffe);  // a converter has no reason to cut text
  ByteArraySource source(data);
  EDITSTREAM in = source.stream();
  edit.Perform(EM_STREAMIN, text ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&in));
  if (in.dwError != 0) {
    return fail(text ? QStringLiteral("cannot read %1 as text").arg(inputPath)
                     : QStringLiteral("%1 is not an RTF document (it does not start with {\\rtf)")
                           .arg(inputPath));
  }

  // The pages are printed into a scratch file, then written to the output as every file of
  // the program is: on the disk before they take its name, or a failure.
  QTemporaryFile part(QDir::tempPath() + QStringLiteral("/klb-convert-XXXXXX.pdf"));
  if (!part.open())
    return fail(QStringLiteral("cannot print %1: %2").arg(outputPath, part.errorString()));
  part.close();

  kl::TPrinter& printer = kl::Printer();
  printer.Setup(kl::PrintRequest{"", 1, part.fileName().toStdString()});
  setUpPaper(printer);
  try {
    edit.PrintDocument(QFileInfo(inputPath).completeBaseName().toStdString());
  } catch (const kl::Exception& e) {
    return fail(
        QStringLiteral("cannot print %1: %2").arg(outputPath, QString::fromStdString(e.Message())));
  }
  QFile printed(part.fileName());
  if (!printed.open(QIODevice::ReadOnly))
    return fail(QStringLiteral("cannot print %1: %2").arg(outputPath, printed.errorString()));
  const QByteArray pages = printed.readAll();
  try {
    files::WriteFileDurably(outputPath.toStdString(),
                            std::string_view(pages.constData(), std::size_t(pages.size())));
  } catch (const files::FileError& failure) {
    return fail(QString::fromStdString(failure.what()));
  }
  return 0;
}
