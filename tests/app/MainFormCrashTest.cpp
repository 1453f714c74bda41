// The program killed (SIGKILL) at chosen points, in a child process: while typing it loses at
// most the text typed since the last autosave; killed during an autosave the previous recovery
// file is whole; killed during a Save the entry file is the old one or the new one, whole, and
// the history holds the old one.
#include <QProcess>

#include "app/RecoverDialog.h"
#include "store/JournalKeeper.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

// A whole RTF document ends with its closing brace (line ends after it aside).
bool Whole(const std::string& rtf) {
  const std::size_t last = rtf.find_last_not_of("\r\n");
  return last != std::string::npos && rtf[last] == '}';
}

const std::string kOldEntry = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Old words\\par}";

class MainFormCrash : public MainFormFixture {
 protected:
  // Runs the child; answers once it died by SIGKILL (by its own hand, or by ours after it said
  // "ready").
  bool RunChildUntilKilled(const char* scenario) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QStringLiteral(KLB_CRASH_CHILD),
                {QString::fromLatin1(scenario), QString::fromStdString(Folder())});
    if (!child.waitForStarted(30000)) return false;
    QByteArray said;
    while (child.state() == QProcess::Running && !said.contains("ready\n")) {
      if (child.waitForReadyRead(60000)) said += child.readAllStandardOutput();
    }
    if (child.state() == QProcess::Running) child.kill();  // SIGKILL
    child.waitForFinished(30000);
    return child.exitStatus() == QProcess::CrashExit;
  }

  // The recovery files left behind, read as the next start reads them.
  std::vector<TRecoveryFile> Left() {
    SetAppFolder(Folder());
    OpenJournalIni();
    TJournalKeeper keeper(Folder() + "Journals/.recovery", Folder() + "Journals/.history");
    std::vector<TRecoveryFile> files = keeper.OrphanedRecoveries();
    CloseJournalIni();
    return files;
  }

  void PutEntryTwo() {
    ASSERT_TRUE(QDir().mkpath(QString::fromStdString(JournalPath())));
    PutIni("[Journal]\n2=Sit\nCount=2\n[Entries]\n2=" + EntryPath() + "\n");
    WriteFile(EntryPath(), kOldEntry);
  }
  std::string EntryPath() const { return JournalPath() + "/20240101000000.klb"; }
  std::vector<std::string> HistoryOfEntryTwo() const {
    std::vector<std::string> texts;
    for (const THistoryVersion& version :
         ListEntryVersions(Folder() + "Journals/.history", EntryPath()))
      texts.push_back(ReadFile(version.Path));
    return texts;
  }
};

TEST_F(MainFormCrash, KilledWhileTypingLosesOnlyWhatCameAfterTheLastAutosave) {
  ASSERT_TRUE(RunChildUntilKilled("typing"));
  const std::vector<TRecoveryFile> left = Left();
  ASSERT_EQ(left.size(), 1u);
  EXPECT_NE(left[0].FirstWords.find("Kept words"), std::string::npos);

  // The next start offers it, and Enter brings it back.
  Asked().QueueModalResult(1);
  Asked().QueueModalResult(QDialog::Accepted);
  ShowWindow();
  EXPECT_NE(EditorText().find("Kept words"), std::string::npos);
  EXPECT_TRUE(Editor().Modified());
}

TEST_F(MainFormCrash, KilledDuringAnAutosaveLeavesThePreviousRecoveryFileWhole) {
  struct Case {
    const char* scenario;
    const char* expected;
  };
  for (const Case& c :
       {Case{"autosave-partly", "Kept words"}, Case{"autosave-written", "Kept words"},
        Case{"autosave-replaced", "Kept words lost words"}}) {
    SCOPED_TRACE(c.scenario);
    QDir(QString::fromStdString(JournalPath())).removeRecursively();
    ASSERT_TRUE(RunChildUntilKilled(c.scenario));
    const std::vector<TRecoveryFile> left = Left();
    ASSERT_EQ(left.size(), 1u);
    const std::string rtf = ReadFile(left[0].Path);
    EXPECT_NE(rtf.find(c.expected), std::string::npos);
    EXPECT_TRUE(Whole(rtf));
    if (std::string(c.expected) == "Kept words") {
      EXPECT_EQ(rtf.find("lost words"), std::string::npos);
    }
  }
}

TEST_F(MainFormCrash, KilledDuringASaveLeavesTheOldOrTheNewEntryWholeAndTheHistoryKeepsTheOld) {
  PutEntryTwo();
  ASSERT_TRUE(RunChildUntilKilled("save-partly"));
  EXPECT_EQ(ReadFile(EntryPath()), kOldEntry);
  EXPECT_EQ(HistoryOfEntryTwo(), std::vector<std::string>{kOldEntry});

  QDir(QString::fromStdString(JournalPath())).removeRecursively();
  PutEntryTwo();
  ASSERT_TRUE(RunChildUntilKilled("save-done"));
  const std::string saved = ReadFile(EntryPath());
  EXPECT_NE(saved.find("Old words"), std::string::npos);
  EXPECT_NE(saved.find("new words"), std::string::npos);
  EXPECT_TRUE(Whole(saved));
  EXPECT_EQ(HistoryOfEntryTwo(), std::vector<std::string>{kOldEntry});
}

}  // namespace
}  // namespace kl::testing
