// Autosave, recovery at start-up and the entry history, in the window as the user meets them.
#include <QDialog>
#include <QPushButton>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "app/EntryHistoryDialog.h"
#include "app/MessageStrip.h"
#include "app/RecoverDialog.h"
#include "platform/files/SystemCalls.h"
#include "store/JournalKeeper.h"
#include "tests/app/MainFormFixture.h"
#include "tests/app/ManualClock.h"

namespace kl::testing {
namespace {

ssize_t FailLikeAFullDisk(int, const void*, std::size_t) {
  errno = ENOSPC;
  return -1;
}

// Files put in place by the durable road, counted.
int renames = 0;
int CountedRename(const char* from, const char* to) {
  ++renames;
  return ::rename(from, to);
}

class MainFormRecovery : public MainFormFixture {
 protected:
  void TearDown() override {
    calls_.reset();
    MainFormFixture::TearDown();
  }
  // Puts other system calls under the durable writes, the real ones for the rest.
  void UseCalls(ssize_t (*write)(int, const void*, std::size_t),
                int (*rename)(const char*, const char*)) {
    calls_.reset();
    files::SystemCalls calls = files::RealSystemCalls();
    if (write) calls.write = write;
    if (rename) calls.rename = rename;
    calls_.emplace(calls);
  }

  // Starts the window with a clock the test moves.
  void StartWithClock() {
    Start();
    UseClock();
  }
  void UseClock() {
    auto clock = std::make_unique<ManualClock>();
    clock_ = clock.get();
    Form().SetAutosaveClock(std::move(clock));
  }
  // Moves the clock on and lets the autosave it starts finish.
  void Wait(long long ms) {
    clock_->Advance(ms);
    Settle();
  }
  void Settle() {
    Form().Keeper()->WaitForWrites();
    QApplication::processEvents();
  }
  std::string RecoveryPath() { return Form().Keeper()->OwnRecoveryPath(); }
  std::string RecoveryText() { return ReadFile(RecoveryPath(), "<no recovery file>"); }

  // Saves the open entry; a new one gets the title given.
  void Save(const std::string& title = {}) {
    if (!title.empty()) Asked().QueueInput(title);
    Form().actSave->Execute();
  }
  std::string EntryFile(int number) {
    std::string path;
    GetEntryFileName(number, "", path);
    return path;
  }
  std::string Notice() { return Form().stripMessage->Notice(); }

  // Starts again after a crash, answering the recovery dialog with script.
  void RestartAnswering(std::function<int(QDialog&)> script) {
    EndWithoutClosing();
    Asked().QueueModalResult(1);  // About
    Asked().QueueModalScript(std::move(script));
    ShowWindow();
    UseClock();
  }

  ManualClock* clock_ = nullptr;
  std::optional<files::ScopedSystemCalls> calls_;
};

TEST_F(MainFormRecovery, FirstChangeStartsTwoSecondsAndTypingIsSavedEveryTwoSeconds) {
  StartWithClock();
  Type("Sit");
  Wait(1999);
  EXPECT_EQ(RecoveryPath(), "");
  Wait(1);
  EXPECT_NE(RecoveryText().find("Sit"), std::string::npos);

  // Typing on without a pause: saved two seconds after the first change, not after the last.
  Type(" and");
  Wait(1000);
  Type(" stay");
  Wait(1000);
  EXPECT_NE(RecoveryText().find("Sit and stay"), std::string::npos);
}

TEST_F(MainFormRecovery, AutosaveLeavesTheWindowAsItWasAndNeverWritesWhileNothingChanged) {
  StartWithClock();
  renames = 0;
  UseCalls(nullptr, &CountedRename);
  Wait(60000);
  EXPECT_EQ(renames, 0) << "a fresh entry nobody touched";

  Type("Heel");
  Editor().SetSelection(1, 3, ScrollCaret::No);
  const std::string caption = Caption();
  const std::string mark = Panel(1);
  const bool canUndo = Editor().CanUndo();
  Wait(2000);
  EXPECT_EQ(renames, 1);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Caption(), caption);
  EXPECT_EQ(Panel(1), mark);
  EXPECT_EQ(Editor().SelectionStart(), 1);
  EXPECT_EQ(Editor().SelectionLength(), 2);
  EXPECT_EQ(Editor().CanUndo(), canUndo);
  Wait(60000);
  EXPECT_EQ(renames, 1) << "nothing changed since";
}

TEST_F(MainFormRecovery, RecoveryFileGoesOnSaveOnNoAndOnANormalClose) {
  StartWithClock();
  Type("Down");
  Wait(2000);
  const std::string first = RecoveryPath();
  ASSERT_TRUE(QFile::exists(QString::fromStdString(first)));
  Save("Down-stay");
  Settle();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(first))) << "saved";

  Type(" long");
  Wait(2000);
  const std::string second = RecoveryPath();
  ASSERT_TRUE(QFile::exists(QString::fromStdString(second)));
  Asked().QueueMessageResult(MsgResult::No);
  Form().actNew->Execute();
  Settle();
  EXPECT_FALSE(QFile::exists(QString::fromStdString(second))) << "answered No";

  Type("Place");
  Wait(2000);
  const std::string recovery = Folder() + "Journals/.recovery";
  Asked().QueueMessageResult(MsgResult::No);
  Form().close();
  EXPECT_TRUE(QDir(QString::fromStdString(recovery))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                  .isEmpty());
}

TEST_F(MainFormRecovery, CrashedEntryIsOfferedAfterAboutAndRestoredAsTheEntryItWas) {
  StartWithClock();
  Type("Recall");
  Save("Recall at the park");
  const int number = Form().CurrentEntry();
  ASSERT_GT(number, 0);
  const std::string saved = ReadFile(EntryFile(number));
  Type(" with the whistle");
  Wait(2000);

  std::vector<TRecoveryFile> offered;
  RestartAnswering([&](QDialog& form) {
    offered = static_cast<TfrmRecover&>(form).Files();
    return int(QDialog::Accepted);  // Enter: Restore is the default button
  });
  EXPECT_EQ(Asked().ModalForms(), (std::vector<std::string>{"frmAbout", "frmAbout", "frmRecover"}));
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0].Title, "Recall at the park");
  EXPECT_NE(offered[0].FirstWords.find("Recall with the whistle"), std::string::npos);

  EXPECT_EQ(Form().CurrentEntry(), number);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_EQ(Panel(1), "Modified");
  EXPECT_EQ(Caption(), "Kennel Logbook - Recall at the park");
  EXPECT_NE(EditorText().find("Recall with the whistle"), std::string::npos);

  // Save rewrites that entry, asking nothing, and its old text goes into the history.
  const std::size_t titlesAsked = Asked().Inputs().size();
  Form().actSave->Execute();
  EXPECT_EQ(Asked().Inputs().size(), titlesAsked);
  EXPECT_NE(ReadFile(EntryFile(number)).find("with the whistle"), std::string::npos);
  const std::vector<THistoryVersion> versions = Form().Keeper()->Versions(EntryFile(number));
  ASSERT_EQ(versions.size(), 1u);
  EXPECT_EQ(ReadFile(versions[0].Path), saved);
}

TEST_F(MainFormRecovery, OneIsRestoredPerStartANewOneStaysNewAndTheRestWait) {
  StartWithClock();
  Type("First dog");
  Wait(2000);
  RestartAnswering([](QDialog&) { return int(QDialog::Rejected); });  // closed: all are kept
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_FALSE(Editor().Modified());
  Type("Second dog");
  Wait(2000);

  RestartAnswering([](QDialog& form) {
    auto& dialog = static_cast<TfrmRecover&>(form);
    EXPECT_EQ(dialog.Files().size(), 2u);
    for (std::size_t i = 0; i < dialog.Files().size(); ++i)
      if (dialog.Files()[i].FirstWords.find("First dog") != std::string::npos)
        dialog.Choose(int(i));
    return int(QDialog::Accepted);
  });
  EXPECT_NE(EditorText().find("First dog"), std::string::npos);
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_EQ(Caption(), "Kennel Logbook - Untitled");
  Save("First dog's day");  // a new entry: the title is asked
  EXPECT_EQ(Asked().Inputs().size(), 1u);

  std::vector<TRecoveryFile> left;
  RestartAnswering([&](QDialog& form) {
    left = static_cast<TfrmRecover&>(form).Files();
    return int(QDialog::Rejected);
  });
  ASSERT_EQ(left.size(), 1u);
  EXPECT_NE(left[0].FirstWords.find("Second dog"), std::string::npos);
}

TEST_F(MainFormRecovery, DiscardDeletesTheChosenFileAndStartUpGoesOnWithNew) {
  StartWithClock();
  Type("Unwanted");
  Wait(2000);
  RestartAnswering([](QDialog& form) {
    static_cast<TfrmRecover&>(form).DiscardChosen();  // the last one: the dialog closes
    return form.result();
  });
  EXPECT_EQ(Form().CurrentEntry(), -1);
  EXPECT_EQ(EditorText().find("Unwanted"), std::string::npos);
  EndWithoutClosing();
  Start();  // only the About dialog is answered: asking anything more would fail the test
  EXPECT_TRUE(Asked().AllAnswersUsed());
}

TEST_F(MainFormRecovery, HistoryKeepsEachRewriteAndRestoresAVersionAsAChange) {
  StartWithClock();
  EXPECT_FALSE(Form().actEntryHistory->Enabled()) << "a new entry has no history";
  Type("Version one");
  Save("Walks");
  EXPECT_TRUE(Form().actEntryHistory->Enabled());
  Type(" two");
  Save();
  Type(" three");
  Save();
  const int number = Form().CurrentEntry();

  Asked().QueueModalScript([](QDialog& form) {
    auto& dialog = static_cast<TfrmEntryHistory&>(form);
    EXPECT_EQ(dialog.Versions().size(), 2u);
    dialog.Choose(1);  // the oldest
    EXPECT_NE(dialog.PreviewText().find("Version one"), std::string::npos);
    EXPECT_EQ(dialog.PreviewText().find("two"), std::string::npos);
    return int(QDialog::Accepted);
  });
  Form().actEntryHistory->Execute();
  EXPECT_NE(EditorText().find("Version one"), std::string::npos);
  EXPECT_EQ(EditorText().find("two"), std::string::npos);
  EXPECT_TRUE(Editor().Modified());
  EXPECT_TRUE(Form().actSave->Enabled());
  EXPECT_EQ(Form().CurrentEntry(), number);

  Form().actSave->Execute();
  EXPECT_EQ(ReadFile(EntryFile(number)).find("two"), std::string::npos);
  const std::vector<THistoryVersion> versions = Form().Keeper()->Versions(EntryFile(number));
  ASSERT_EQ(versions.size(), 3u);
  EXPECT_NE(ReadFile(versions[0].Path).find("Version one two three"), std::string::npos)
      << "the version replaced by the restore is kept too";
}

TEST_F(MainFormRecovery, FullDiskShowsOneNoticeAboveTheEditorAndTriesAgainLater) {
  StartWithClock();
  UseCalls(&FailLikeAFullDisk, nullptr);
  Type("Wait");
  Wait(2000);
  EXPECT_EQ(Notice(), "Autosave failed: disk full");
  EXPECT_TRUE(Form().stripMessage->isVisible());
  EXPECT_TRUE(Asked().Messages().empty()) << "never a modal box while the user types";
  EXPECT_EQ(Panel(1), "Modified");
  Type("ing");
  Wait(2000);
  EXPECT_EQ(Notice(), "Autosave failed: disk full");

  calls_.reset();  // room again
  Wait(TAutosaveTimer::RetryMs);
  EXPECT_NE(RecoveryText().find("Waiting"), std::string::npos);
  EXPECT_EQ(Notice(), "");
}

}  // namespace
}  // namespace kl::testing
