// What we write, LibreOffice reads back as the same text: each sample is read, written by our
// writer and converted to text by LibreOffice. Skipped where LibreOffice is not installed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "RtfTestSupport.h"

namespace richedit::rtf::test {
namespace {

// Converts the files to text with LibreOffice, all in one run; false when it did not finish.
bool convertToText(const QString& soffice, const QTemporaryDir& dir, const QStringList& files) {
  QProcess process;
  process.start(
      soffice,
      QStringList{QStringLiteral("-env:UserInstallation=file://") + dir.path() + "/profile",
                  "--headless", "--convert-to", "txt:Text (encoded):UTF8", "--outdir", dir.path()} +
          files);
  return process.waitForFinished(300000);
}

QString convertedText(const QTemporaryDir& dir, const QString& rtf) {
  QFile out(dir.filePath(QFileInfo(rtf).completeBaseName() + ".txt"));
  if (!out.open(QIODevice::ReadOnly)) return {};
  QString text = QString::fromUtf8(out.readAll());
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  while (text.endsWith(u'\n')) text.chop(1);
  return text;
}

TEST(RtfLibreOffice, ReadsWhatWeWriteAsTheSameText) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QStringList written;
  QStringList ours;
  for (const char* sample : {"styles/word-style-sheet.rtf", "styles/libreoffice-headings.rtf",
                             "codepages/mac-japanese.rtf", "codepages/far-east.rtf"}) {
    const auto read = readRtf(readFile(QStringLiteral(KL_TEST_DATA "/rtf/") + sample));
    ASSERT_TRUE(read.result.ok) << sample;
    written.append(dir.filePath(QFileInfo(sample).completeBaseName() + ".rtf"));
    QFile file(written.back());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(writeAll(*read.doc));
    ours.append(textOf(*read.doc).replace(u'\r', u'\n'));
  }
  ASSERT_TRUE(convertToText(soffice, dir, written));
  for (qsizetype i = 0; i < written.size(); ++i)
    EXPECT_EQ(convertedText(dir, written[i]), ours[i]) << written[i].toStdString();
}

}  // namespace
}  // namespace richedit::rtf::test
