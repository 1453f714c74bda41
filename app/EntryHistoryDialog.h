#pragma once
// "Entry History": the earlier versions of the open entry, newest first, with the time each was
// replaced and its size, and a read-only preview of the chosen one. Restore puts the chosen
// version into the editor.

#include <QDialog>
#include <string>
#include <vector>

#include "store/EntryHistory.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace kl {

class TKlRichEdit;

class TfrmEntryHistory : public QDialog {
 public:
  TfrmEntryHistory(const std::string& title, std::vector<THistoryVersion> versions,
                   QWidget* parent = nullptr);

  const std::vector<THistoryVersion>& Versions() const { return versions_; }
  int Chosen() const;
  void Choose(int row);
  // The text shown in the preview.
  std::string PreviewText() const;

  QPushButton* btnRestore = nullptr;

 private:
  void ShowPreview();

  std::vector<THistoryVersion> versions_;
  QTreeWidget* lvVersions_ = nullptr;
  TKlRichEdit* rchPreview_ = nullptr;
  QLabel* lblPreview_ = nullptr;
};

// A size as people read it: "812 bytes", "14 KB", "1.2 MB".
std::string ReadableSize(std::int64_t bytes);

}  // namespace kl
