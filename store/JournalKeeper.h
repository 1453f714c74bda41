#pragma once
// Keeps what the user has not saved yet, and what a save replaced: the recovery files of this
// program's open entry (written off the window's thread) and the history of entry files. The
// window asks it to keep, list and restore; it never writes an entry file itself.
//
// Two programs may run on one journal: each keeps its recovery files in a session of its own,
// locked for its life, and lists only the files of sessions whose program has ended (taking
// their locks, so a second program started meanwhile does not list them too).

#include <QDateTime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "store/WriteOutcome.h"
#include "store/EntryHistory.h"
#include "store/RecoveryFiles.h"

namespace kl {

class TBackgroundWriter;

class TJournalKeeper {
 public:
  // The keeper of the journal the store's shared values name: its files go beside the journal
  // (JournalSideFolder), in "Journals/.recovery" and "Journals/.history".
  static std::unique_ptr<TJournalKeeper> ForJournal();
  TJournalKeeper(std::string recoveryFolder, std::string historyFolder);
  // Waits for the writes in progress. The session's recovery file stays, as after a crash,
  // unless CloseSession ran.
  ~TJournalKeeper();
  TJournalKeeper(const TJournalKeeper&) = delete;
  TJournalKeeper& operator=(const TJournalKeeper&) = delete;

  const std::string& RecoveryFolder() const { return recoveryFolder_; }
  const std::string& HistoryFolder() const { return historyFolder_; }

  // ---- Recovery ------------------------------------------------------------------------------
  // The recovery files that no running program owns, oldest first, with the entry each belongs
  // to as the index knows it now and its title.
  std::vector<TRecoveryFile> OrphanedRecoveries();
  // Makes an orphaned recovery file this program's own, as the recovery file of entry `number`
  // (-1 for a new entry); later autosaves replace it.
  void AdoptRecovery(const TRecoveryFile& file, int number);
  // Deletes an orphaned recovery file, as the user asked.
  void DiscardRecovery(const TRecoveryFile& file);

  // Called on the writer thread when an autosave has been written or has failed.
  using TKeptHandler = std::function<void(const TWriteOutcome& outcome)>;
  // Writes rtf as the recovery file of entry `number` (-1 for a new entry) off the caller's
  // thread; a later call made before the write starts replaces its bytes. done hears the
  // outcome.
  void KeepRecovery(int number, std::string rtf, TKeptHandler done);
  // Removes this program's recovery file, after the writes queued before.
  void ForgetRecovery();
  // The program ends normally: the recovery file and the session go.
  void CloseSession();
  // Returns when every write asked for so far has been done.
  void WaitForWrites();
  // This program's recovery file ("" when it has none yet).
  std::string OwnRecoveryPath() const;

  // ---- History -------------------------------------------------------------------------------
  // Keeps the entry file as it is now, before a save rewrites it; thins the versions after.
  TWriteOutcome KeepVersion(const std::string& entryFile, const QDateTime& now);
  std::vector<THistoryVersion> Versions(const std::string& entryFile) const;

 private:
  struct Session;
  bool EnsureSession(TWriteOutcome& outcome);
  int TakeLockOfEndedSession(const std::string& sessionName);
  void RemoveEndedSessionIfEmpty(const std::string& sessionFolder);
  int EntryNumberFor(int number, const std::string& entryName) const;
  // The name of the recovery file of entry `number`; asks nothing and shows nothing.
  std::string RecoveryNameOf(int number) const;

  std::string recoveryFolder_;
  std::string historyFolder_;
  std::unique_ptr<Session> session_;
  std::vector<int> endedSessionLocks_;  // locks of ended programs' sessions, held while we run
  std::string ownName_;                 // the name of our recovery file, on the window's side

  std::mutex pendingMutex_;
  std::optional<std::string> pendingRtf_;  // the newest autosave not yet written
  std::string pendingName_;
  TKeptHandler pendingDone_;

  std::unique_ptr<TBackgroundWriter> writer_;  // last: its thread ends before the rest goes
};

}  // namespace kl
