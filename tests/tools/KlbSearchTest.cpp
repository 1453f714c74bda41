// klb-search as a person runs it from a shell: a real process on a journal in a temporary
// folder, its output lines and its exit status.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <string>

namespace {

struct Outcome {
  int exitCode = -1;
  QString out;
  QString err;
};

class KlbSearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkdir("Journals"));
  }

  QString EntryPath(int number) const {
    return dir_.filePath(QStringLiteral("Journals/2024010%1120000.klb").arg(number));
  }

  void Write(const QString& path, const QByteArray& bytes) const {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
  }

  void PutEntry(int number, const std::string& title, const std::string& body) {
    Write(EntryPath(number), QByteArray::fromStdString(
                                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 " + body + "\\par}"));
    titles_[number] = title;
    QByteArray ini = "[Journal]\r\n";
    for (const auto& [n, t] : titles_) ini += QByteArray::number(n) + "=" + t.c_str() + "\r\n";
    ini += "[Entries]\r\n";
    for (const auto& entry : titles_)
      ini += QByteArray::number(entry.first) + "=" + EntryPath(entry.first).toUtf8() + "\r\n";
    Write(dir_.filePath("journal.ini"), ini);
  }

  Outcome Run(QStringList args) const {
    args.prepend(dir_.path());
    args.prepend("--journal");
    QProcess process;
    process.start(QStringLiteral(KLB_SEARCH), args);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
  }

  QTemporaryDir dir_;
  std::map<int, std::string> titles_;
};

TEST_F(KlbSearchTest, PrintsOneLinePerMatchBestFirst) {
  PutEntry(2, "Morning walk", "Recall at the lake went well.\\par The water was cold.");
  PutEntry(3, "Recall", "Garden session.");
  PutEntry(4, "Vet", "Left paw checked.");
  const Outcome run = Run({"recall"});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(run.out,
            "3\tRecall\tGarden session.\n"
            "2\tMorning walk\t\u00ABRecall\u00BB at the lake went well. The water was cold.\n");
  EXPECT_EQ(Run({"recall", "--limit", "1"}).out.count('\n'), 1);
  EXPECT_EQ(Run({"\"lake went\"", "water"}).out.left(2), "2\t");
}

TEST_F(KlbSearchTest, ExitStatusTellsMatchNothingAndError) {
  PutEntry(2, "Vet", "Left paw checked.");
  EXPECT_EQ(Run({"paw"}).exitCode, 0);
  const Outcome none = Run({"giraffe"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(Run({"AND", "OR", "((("}).exitCode, 1);

  const Outcome bad = Run({"--limit", "zero", "paw"});
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_TRUE(bad.err.startsWith("klb-search: ")) << bad.err.toStdString();
  EXPECT_EQ(bad.err.count('\n'), 1);
  QProcess missing;
  missing.start(QStringLiteral(KLB_SEARCH), {"--journal", dir_.filePath("nowhere"), "paw"});
  missing.waitForFinished(60000);
  EXPECT_EQ(missing.exitCode(), 2);
}

TEST_F(KlbSearchTest, FollowsTheJournalAndCheckListsUnreadableEntries) {
  PutEntry(2, "Vet", "Left paw checked.");
  ASSERT_EQ(Run({"paw"}).exitCode, 0);
  PutEntry(3, "Walk", "Another paw print.");  // a new entry since the index was made
  EXPECT_EQ(Run({"print"}).out.left(2), "3\t");

  PutEntry(4, "Broken", "x");
  Write(EntryPath(4), "not rtf at all");
  QFile::remove(EntryPath(2));
  const Outcome check = Run({"--check"});
  EXPECT_EQ(check.exitCode, 1);
  EXPECT_TRUE(check.out.contains("2\tVet\tfile missing")) << check.out.toStdString();
  EXPECT_TRUE(check.out.contains("4\tBroken\tnot an RTF document")) << check.out.toStdString();
  EXPECT_EQ(Run({"checked"}).exitCode, 1);  // the missing file's words are gone
}

TEST_F(KlbSearchTest, DamagedIndexIsSetAsideAndBuiltAgain) {
  PutEntry(2, "Vet", "Left paw checked.");
  Write(dir_.filePath("journal.search.db"), QByteArray(8192, 'x'));
  const Outcome run = Run({"paw"});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.contains("set aside")) << run.err.toStdString();
  EXPECT_TRUE(QFile::exists(dir_.filePath("journal.search.db.damaged")));
  EXPECT_EQ(Run({"paw"}).err, "");
}

}  // namespace
