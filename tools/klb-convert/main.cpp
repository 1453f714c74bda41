// klb-convert INPUT OUTPUT: turns an RTF file or a journal entry (.klb) into plain text (.txt,
// UTF-8), into RTF as the editor control writes it (.rtf, .klb) or into a PDF file printed as
// the program prints (.pdf). The autosaved copies in "Journals/.recovery" and the earlier
// versions in "Journals/.history" are entries like any other, so an old version can be had
// from a shell. It runs the same control the program uses, headless, so what it writes is what
// the program would save or print.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/files/DurableFile.h"
#include "platform/files/FileError.h"
#include "platform/richedit/ByteArraySource.h"
#include "platform/richedit/RichEditControl.h"
#include "platform/richedit/RichEditTypes.h"
#include "tools/klb-convert/PdfOutput.h"

using namespace richedit;

namespace {

enum class Format { Text, Rtf, Pdf, Unknown };

Format formatOf(const QString& path) {
  const QString ext = QFileInfo(path).suffix().toLower();
  if (ext == QLatin1String("txt")) return Format::Text;
  if (ext == QLatin1String("rtf") || ext == QLatin1String("klb")) return Format::Rtf;
  if (ext == QLatin1String("pdf")) return Format::Pdf;
  return Format::Unknown;
}

DWORD writeChunk(DWORD_PTR cookie, BYTE* buffer, LONG size, LONG* written) {
  reinterpret_cast<QByteArray*>(cookie)->append(reinterpret_cast<const char*>(buffer), size);
  *written = size;
  return 0;
}

// Qt's own notes (about the headless platform and the like) are not for the tool's user.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "klb-convert: %s\n", message.toLocal8Bit().constData());
}

int fail(const QString& message) {
  std::fprintf(stderr, "klb-convert: %s\n", message.toLocal8Bit().constData());
  return 1;
}

int convert(const QString& inputPath, const QString& outputPath) {
  const Format output = formatOf(outputPath);
  if (output == Format::Unknown)
    return fail(
        QStringLiteral("%1: unknown output format; use a name ending in .txt, .rtf, .klb or .pdf")
            .arg(outputPath));
  QFile input(inputPath);
  if (!input.open(QIODevice::ReadOnly))
    return fail(QStringLiteral("cannot read %1: %2").arg(inputPath, input.errorString()));
  const QByteArray data = input.readAll();
  if (input.error() != QFileDevice::NoError)
    return fail(QStringLiteral("cannot read %1: %2").arg(inputPath, input.errorString()));
  input.close();
  if (output == Format::Pdf)
    return printPdf(data, formatOf(inputPath) == Format::Text, inputPath, outputPath);

  RichEditControl control(ES_MULTILINE);
  control.Perform(EM_EXLIMITTEXT, 0, 0x7ffffffe);  // a converter has no reason to cut text
  const bool textInput = formatOf(inputPath) == Format::Text;
  ByteArraySource source(data);
  EDITSTREAM in = source.stream();
  control.Perform(EM_STREAMIN, textInput ? SF_TEXT : SF_RTF, reinterpret_cast<LPARAM>(&in));
  if (in.dwError != 0) {
    return fail(textInput ? QStringLiteral("cannot read %1 as text").arg(inputPath)
                          : QStringLiteral("%1 is not an RTF document (it does not start with "
                                           "{\\rtf)")
                                .arg(inputPath));
  }

  QByteArray result;
  EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&result), 0, &writeChunk};
  control.Perform(EM_STREAMOUT, output == Format::Text ? SF_TEXT : SF_RTF,
                  reinterpret_cast<LPARAM>(&out));
  if (out.dwError != 0) return fail(QStringLiteral("the document could not be written out"));
  if (output == Format::Text) result.replace("\r\n", "\n");  // line ends as this system has them

  // On the disk before it takes the output's name, or a failure: never a success that the
  // disk did not take.
  try {
    files::WriteFileDurably(outputPath.toStdString(),
                            std::string_view(result.constData(), std::size_t(result.size())));
  } catch (const files::FileError& failure) {
    return fail(QString::fromStdString(failure.what()));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("klb-convert %s\n", KL_VERSION);
    return 0;
  }
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: klb-convert INPUT OUTPUT\n"
                 "       klb-convert --version\n"
                 "  INPUT   an RTF file or a journal entry (.rtf, .klb; .txt is read as text),\n"
                 "          also an autosaved or earlier version of one, kept in the journal's\n"
                 "          Journals/.recovery and Journals/.history folders\n"
                 "  OUTPUT  .txt for plain text (UTF-8), .rtf or .klb for RTF, .pdf for the\n"
                 "          entry printed on A4 (Letter where the locale uses it)\n");
    return 2;
  }
  // The control is a widget, but converting needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler(quietMessages);
  QApplication app(argc, argv);
  const QString output = QString::fromLocal8Bit(argv[2]);
  // What an earlier run killed between writing and renaming left beside the output.
  files::RemoveStaleTemporaryFiles(QFileInfo(output).absolutePath().toStdString());
  return convert(QString::fromLocal8Bit(argv[1]), output);
}
