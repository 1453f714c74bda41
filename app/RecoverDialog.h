#pragma once
// "Recover Entries": shown at start-up when entries were left unsaved by a program that ended
// without closing (a crash, a power cut). Lists each one with its title, the time of its last
// autosave and its first words; Restore (the default, Enter) brings the chosen one back, Discard
// deletes the chosen one, and closing the dialog keeps them all for the next start.

#include <QDialog>
#include <functional>
#include <vector>

#include "store/RecoveryFiles.h"

class QPushButton;
class QTreeWidget;

namespace kl {

class TfrmRecover : public QDialog {
 public:
  // discard deletes one listed file, as the user asked.
  TfrmRecover(std::vector<TRecoveryFile> files,
              std::function<void(const TRecoveryFile& file)> discard, QWidget* parent = nullptr);

  // The listed files, as they stand after any Discard.
  const std::vector<TRecoveryFile>& Files() const { return files_; }
  // The row chosen (-1 for none).
  int Chosen() const;
  void Choose(int row);

  QPushButton* btnRestore = nullptr;
  QPushButton* btnDiscard = nullptr;

  // Deletes the chosen file and takes it off the list; the dialog closes when none is left.
  void DiscardChosen();

 private:
  void Fill();

  QTreeWidget* lvRecoveries_ = nullptr;
  std::vector<TRecoveryFile> files_;
  std::function<void(const TRecoveryFile&)> discard_;
};

}  // namespace kl
