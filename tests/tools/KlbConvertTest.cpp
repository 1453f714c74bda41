// The converter as a person runs it from a shell: a real process, real files, exit codes.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

struct Outcome {
  int exitCode = -1;
  QByteArray err;
};

class KlbConvertTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }

  void write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  QByteArray read(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  Outcome convert(const QString& input, const QString& output) const {
    QProcess process;
    process.start(QStringLiteral(KLB_CONVERT), {input, output});
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardError()};
  }

  // What a poppler tool says about a PDF file (its text, its list of pictures).
  QByteArray poppler(const QString& tool, const QStringList& args) const {
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(60000)) return "<" + tool.toUtf8() + " did not run>";
    return process.readAllStandardOutput();
  }

  QTemporaryDir dir_;
};

TEST_F(KlbConvertTest, EntryBecomesPlainTextInUtf8) {
  write("entry.klb",
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}}\\f0\\b Sit\\b0  and "
        "stay\\par Caf\\'e9 \\u8364?\\par}");
  const Outcome run = convert(path("entry.klb"), path("entry.txt"));
  EXPECT_EQ(run.exitCode, 0) << run.err.constData();
  EXPECT_EQ(read("entry.txt"), QByteArray("Sit and stay\nCaf\xC3\xA9 \xE2\x82\xAC"));
}

TEST_F(KlbConvertTest, RtfIsWrittenAsTheControlWritesItAndReadsBackTheSame) {
  write("in.rtf", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24\\i Heel\\i0  work\\par}");
  ASSERT_EQ(convert(path("in.rtf"), path("out.klb")).exitCode, 0);
  const QByteArray once = read("out.klb");
  EXPECT_TRUE(once.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0"));
  ASSERT_EQ(convert(path("out.klb"), path("again.rtf")).exitCode, 0);
  EXPECT_EQ(read("again.rtf"), once);
}

TEST_F(KlbConvertTest, FailuresExitNonZeroWithAMessageAndWriteNothing) {
  write("notes.txt", "plain words");
  write("broken.klb", "this is no rtf");
  struct Case {
    const char* input;
    const char* output;
    const char* says;
  };
  const Case cases[] = {
      {"missing.klb", "out.txt", "cannot read"},
      {"broken.klb", "out.txt", "not an RTF document"},
      {"notes.txt", "out.doc", "unknown output format"},
      {"notes.txt", "no-such-folder/out.rtf", "Cannot create file"},
      {"notes.txt", "no-such-folder/out.pdf", "Cannot create file"},
      {"broken.klb", "out.pdf", "not an RTF document"},
  };
  for (const Case& c : cases) {
    const Outcome run = convert(path(c.input), path(c.output));
    EXPECT_NE(run.exitCode, 0) << c.input;
    EXPECT_TRUE(run.err.contains(c.says)) << c.input << ": " << run.err.constData();
    EXPECT_FALSE(QFile::exists(path(c.output))) << c.input;
  }
}

// The autosaved copy and the earlier versions of an entry sit in hidden folders beside the
// entries, under the names the program gives them; they convert like any entry.
TEST_F(KlbConvertTest, RecoveryAndHistoryCopiesConvertLikeEntries) {
  const char* const copies[] = {
      "Journals/.recovery/4711-20261211120000123/entry-2-20240101000000.klb",
      "Journals/.recovery/4711-20261211120000123/new-entry.klb",
      "Journals/.history/20240101000000/20261210T081500Z.klb",
      "Journals/.history/20240101000000/20261210T081500Z-002.klb",
  };
  for (const char* copy : copies) {
    SCOPED_TRACE(copy);
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QFileInfo(path(copy)).path()));
    write(copy, "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Down and \\b stay\\b0\\par}");
    const Outcome run = convert(path(copy), path("out.txt"));
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(read("out.txt"), QByteArray("Down and stay"));
  }
}

TEST_F(KlbConvertTest, EntryPrintsToAPdfWithItsWordsAndPictures) {
  QImage picture(40, 30, QImage::Format_RGB32);
  picture.fill(Qt::darkGreen);
  QBuffer png;
  png.open(QIODevice::WriteOnly);
  picture.save(&png, "PNG");
  std::string pages;
  for (int i = 0; i < 120; ++i)
    pages += "Heel work and recall, lesson " + std::to_string(i) + "\\par ";
  write("entry.klb",
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\b Tuesday\\b0\\par "
        "{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\fi-360\\li360 "
        "Sit \\u8364?\\par\\pard {\\pict\\pngblip\\picw40\\pich30 " +
            png.data().toHex() + "}\\par " + QByteArray::fromStdString(pages) + "Last line\\par}");
  const Outcome run = convert(path("entry.klb"), path("entry.pdf"));
  ASSERT_EQ(run.exitCode, 0) << run.err.constData();
  const QByteArray words = poppler("pdftotext", {path("entry.pdf"), "-"});
  EXPECT_TRUE(words.contains("Tuesday")) << words.left(200).constData();
  EXPECT_TRUE(words.contains("Sit \xE2\x82\xAC"));
  EXPECT_TRUE(words.contains("\xE2\x80\xA2"));  // the bullet is printed
  EXPECT_TRUE(words.contains("Last line"));
  EXPECT_GT(words.count('\f'), 1);  // more than one page
  const QByteArray images = poppler("pdfimages", {"-list", path("entry.pdf")});
  EXPECT_TRUE(QString::fromUtf8(images).contains(QRegularExpression("image\\s+40\\s+30\\s")))
      << images.constData();
  // Nothing is left beside the output.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// A converter killed between writing and renaming leaves a temporary file; a later run removes
// it once it is old enough not to belong to a run that is still writing.
TEST_F(KlbConvertTest, LaterRunsRemoveStaleTemporaryFilesBesideTheOutput) {
  write("notes.txt", "plain words");
  write(".out.rtf.klsave-Ab12Cd", "half an output");
  write(".out.rtf.klsave-Xy34Zw", "being written");
  const qint64 twoHoursAgo = QDateTime::currentSecsSinceEpoch() - 2 * 3600;
  QFile stale(path(".out.rtf.klsave-Ab12Cd"));
  ASSERT_TRUE(stale.open(QIODevice::ReadWrite));
  ASSERT_TRUE(stale.setFileTime(QDateTime::fromSecsSinceEpoch(twoHoursAgo),
                                QFileDevice::FileModificationTime));
  stale.close();
  ASSERT_EQ(convert(path("notes.txt"), path("out.rtf")).exitCode, 0);
  EXPECT_FALSE(QFile::exists(path(".out.rtf.klsave-Ab12Cd")));
  EXPECT_TRUE(QFile::exists(path(".out.rtf.klsave-Xy34Zw")));
  EXPECT_TRUE(read("out.rtf").startsWith("{\\rtf1"));
}

}  // namespace
