// The program as the crash tests kill it: the main window on a journal folder, driven through a
// scenario and killed (SIGKILL) at the point the scenario names, by itself at a step of a write
// or by the test once it has printed "ready".
//
//   klb-crash-child SCENARIO FOLDER
//   typing            types, autosaves, types more, prints "ready" and waits to be killed
//   autosave-partly   types, autosaves, types more; dies halfway through the next autosave's
//   autosave-written  ... dies with the next autosave written but not yet in place
//   autosave-replaced ... dies just after the next autosave is in place
//   save-partly       opens entry 2, changes it, dies halfway through writing it on Save
//   save-done         opens entry 2, changes it, saves, prints "ready" and waits to be killed
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

#include <QApplication>

#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "editor/KlRichEd.h"
#include "editor/KlRichEdit.h"
#include "framework/Application.h"
#include "framework/Stream.h"
#include "framework/actions/Action.h"
#include "framework/dialogs/ScriptedDialogs.h"
#include "platform/files/SystemCalls.h"
#include "store/GlobalUnit.h"
#include "store/JournalKeeper.h"
#include "tests/app/ManualClock.h"

namespace {

using namespace kl;

class ChildForm : public TfrmMain {
 public:
  explicit ChildForm(std::string folder) : folder_(std::move(folder)) {}

 protected:
  void SetUpJournalPaths() override { SetAppFolder(folder_); }

 private:
  std::string folder_;
};

[[noreturn]] void Die() {
  std::raise(SIGKILL);
  std::abort();
}

ssize_t WriteHalfAndDie(int fd, const void* data, size_t size) {
  if (::write(fd, data, size / 2) < 0) Die();
  Die();
}

int DieBeforeRenaming(const char*, const char*) {
  Die();
}

int RenameAndDie(const char* from, const char* to) {
  ::rename(from, to);
  Die();
}

// Writes half of what a save hands it, then the program dies.
class DyingConversion : public TConversion {
 public:
  std::int64_t ConvertWriteStream(TStream& stream, const char* buffer, std::int64_t size) override {
    stream.Write(buffer, size / 2);
    Die();
  }
};

void Append(ChildForm& form, const char* text) {
  const int end = form.rchMain->TextLength();
  form.rchMain->SetSelection(end, end, ScrollCaret::No);
  form.rchMain->SetSelectedText(text);
}

void ReadyToBeKilled(QApplication& app) {
  std::printf("ready\n");
  std::fflush(stdout);
  app.exec();
}

void OpenEntryTwo(ChildForm& form) {
  QTreeWidgetItem* root = form.tvEntries->topLevelItem(0);
  for (int i = 0; i < root->childCount(); ++i)
    if (TEntryTree::NodeData(root->child(i)) == 2) form.tvEntries->setCurrentItem(root->child(i));
  form.tvEntriesDblClick(&form);
}

int Run(QApplication& app, const std::string& scenario, const std::string& folder) {
  Application().SetTitle("Kennel Logbook");
  InstallScriptedDialogs().QueueModalResult(1);  // the About dialog
  ChildForm form(folder);
  form.show();
  QApplication::processEvents();
  auto owned = std::make_unique<testing::ManualClock>();
  testing::ManualClock& clock = *owned;
  form.SetAutosaveClock(std::move(owned));

  if (scenario.rfind("save-", 0) == 0) {
    OpenEntryTwo(form);
    Append(form, " new words");
    if (scenario == "save-partly") {
      static TRichConversionFormat dying{[] { return std::make_unique<DyingConversion>(); }, "klb",
                                         false, nullptr};
      TRichConversionFormat* last = ConversionFormatList();
      while (last->Next) last = last->Next;
      last->Next = &dying;
    }
    form.actSave->Execute();
    ReadyToBeKilled(app);
    return 0;
  }

  Append(form, "Kept words");
  clock.Advance(TAutosaveTimer::DelayMs);
  form.Keeper()->WaitForWrites();
  Append(form, " lost words");
  if (scenario == "typing") {
    clock.Advance(TAutosaveTimer::DelayMs / 2);
    ReadyToBeKilled(app);
    return 0;
  }
  // The durable writes' system calls, made to die at the scenario's point.
  files::SystemCalls calls = files::RealSystemCalls();
  if (scenario == "autosave-partly") calls.write = &WriteHalfAndDie;
  if (scenario == "autosave-written") calls.rename = &DieBeforeRenaming;
  if (scenario == "autosave-replaced") calls.rename = &RenameAndDie;
  files::ScopedSystemCalls dying(calls);
  clock.Advance(TAutosaveTimer::DelayMs);
  form.Keeper()->WaitForWrites();
  std::fprintf(stderr, "klb-crash-child: the scenario ended alive\n");
  return 3;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: klb-crash-child SCENARIO FOLDER\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return Run(app, argv[1], argv[2]);
}
