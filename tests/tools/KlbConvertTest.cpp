// The converter as a person runs it from a shell: a real process, real files, exit codes.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QProcess>
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
  };
  for (const Case& c : cases) {
    const Outcome run = convert(path(c.input), path(c.output));
    EXPECT_NE(run.exitCode, 0) << c.input;
    EXPECT_TRUE(run.err.contains(c.says)) << c.input << ": " << run.err.constData();
    EXPECT_FALSE(QFile::exists(path(c.output))) << c.input;
  }
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
