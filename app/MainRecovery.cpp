// Autosave of the open entry to its recovery file, the offer to recover entries left unsaved
// by a program that ended without closing, and the history of the open entry. The journal
// keeper does the file work; the window decides when, and what the editor shows.
#include <QDateTime>
#include <QDialog>
#include <cerrno>
#include <exception>

#include "app/AutosaveTimer.h"
#include "app/EntryHistoryDialog.h"
#include "app/MainForm.h"
#include "app/MessageStrip.h"
#include "app/RecoverDialog.h"
#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"
#include "framework/Application.h"
#include "framework/FileStream.h"
#include "framework/MemoryStream.h"
#include "store/GlobalUnit.h"
#include "store/JournalKeeper.h"

namespace kl {

namespace {

const std::string kAutosaveNotice = "Autosave failed: ";

}  // namespace

void TfrmMain::SetAutosaveClock(std::unique_ptr<IAutosaveClock> clock) {
  autosave_->SetClock(std::move(clock));
}

// ---- Autosave --------------------------------------------------------------------------------

void TfrmMain::Autosave() {
  if (!keeper_ || !rchMain->Modified()) return;
  // Only the document's bytes are made here; writing and flushing them is the keeper's thread's.
  // Streaming out touches neither the modified flag, the selection nor the undo steps.
  TStringStream rtf;
  try {
    rchMain->Lines().SaveToStream(rtf);
  } catch (const std::exception&) {
    AutosaveFinished({EIO, "the entry's text could not be written out"}, autosaveGeneration_);
    return;
  }
  const int generation = autosaveGeneration_;
  keeper_->KeepRecovery(
      currentEntry_, rtf.DataString(), [this, generation](const TWriteOutcome& outcome) {
        QMetaObject::invokeMethod(
            this, [this, generation, outcome] { AutosaveFinished(outcome, generation); },
            Qt::QueuedConnection);
      });
}

void TfrmMain::AutosaveFinished(const TWriteOutcome& outcome, int generation) {
  if (generation != autosaveGeneration_) return;  // the entry was saved or replaced since
  if (outcome.Ok()) {
    if (stripMessage->Notice().rfind(kAutosaveNotice, 0) == 0) stripMessage->HideNotice();
    return;
  }
  // Never a modal box while the user types: one notice, and another try later.
  stripMessage->ShowNotice(kAutosaveNotice + outcome.reason);
  autosave_->Failed();
}

void TfrmMain::RecoveryNoLongerNeeded() {
  AutosaveStartsAfresh();
  if (keeper_) keeper_->ForgetRecovery();
  if (stripMessage->Notice().rfind(kAutosaveNotice, 0) == 0) stripMessage->HideNotice();
}

void TfrmMain::AutosaveStartsAfresh() {
  ++autosaveGeneration_;
  autosave_->Reset();
}

// ---- Recovery at start-up --------------------------------------------------------------------

bool TfrmMain::OfferRecovery() {
  if (!keeper_) return false;
  std::vector<TRecoveryFile> files = keeper_->OrphanedRecoveries();
  if (files.empty()) return false;
  TfrmRecover dialog(std::move(files),
                     [this](const TRecoveryFile& file) { keeper_->DiscardRecovery(file); });
  if (Dialogs().ExecModal(dialog) != QDialog::Accepted) return false;
  const int chosen = dialog.Chosen();
  if (chosen < 0) return false;
  return RestoreRecovery(dialog.Files()[std::size_t(chosen)]);
}

bool TfrmMain::RestoreRecovery(const TRecoveryFile& file) {
  try {
    rchMain->Lines().LoadFromFile(file.Path);
  } catch (const std::exception& failure) {
    // The file stays where it is; start-up goes on with a new entry.
    Application().HandleException(failure);
    return false;
  }
  // Taken over only once its text is in the editor: later autosaves replace it.
  keeper_->AdoptRecovery(file, file.Number);
  currentEntry_ = file.Number;
  rchMain->SetModified(true);
  UpdateModifiedStatus();
  AutosaveStartsAfresh();
  return true;
}

// ---- Entry history ---------------------------------------------------------------------------

void TfrmMain::KeepVersionBeforeSave(const std::string& entryFile) {
  if (!keeper_) return;
  const TWriteOutcome kept = keeper_->KeepVersion(entryFile, QDateTime::currentDateTimeUtc());
  // The save goes on: the text in the editor matters more than the copy of the old one.
  if (!kept.Ok()) stripMessage->ShowNotice("Entry history could not be kept: " + kept.reason);
}

void TfrmMain::actEntryHistoryExecute(TObject*) {
  if (!keeper_ || currentEntry_ <= 0) return;
  std::string path;
  GetEntryFileName(currentEntry_, "", path);
  std::string title;
  GetEntryTitle(currentEntry_, title);
  TfrmEntryHistory dialog(title, keeper_->Versions(path), this);
  if (Dialogs().ExecModal(dialog) != QDialog::Accepted) return;
  const int chosen = dialog.Chosen();
  if (chosen < 0) return;
  RestoreVersion(dialog.Versions()[std::size_t(chosen)].Path);
}

void TfrmMain::RestoreVersion(const std::string& versionFile) {
  TFileStream version(versionFile, TFileMode::fmOpenRead);
  // One change that replaces the whole text: undo brings the text before it back.
  TRichEditStrings& lines = rchMain->Lines();
  const TRichStreamModes modes = lines.StreamMode();
  const TRichStreamFormat format = lines.StreamFormat();
  rchMain->SelectAll();
  lines.SetStreamMode(TRichStreamModes(modes).include(TRichStreamMode::smSelection));
  lines.SetStreamFormat(TRichStreamFormat::sfRichText);
  try {
    lines.LoadFromStream(version);
  } catch (...) {
    lines.SetStreamMode(modes);
    lines.SetStreamFormat(format);
    throw;
  }
  lines.SetStreamMode(modes);
  lines.SetStreamFormat(format);
  rchMain->SetModified(true);
  UpdateModifiedStatus();
  rchMain->SetFocus();
}

}  // namespace kl
