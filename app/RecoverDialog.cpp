#include "app/RecoverDialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kl {

TfrmRecover::TfrmRecover(std::vector<TRecoveryFile> files,
                         std::function<void(const TRecoveryFile&)> discard, QWidget* parent)
    : QDialog(parent), files_(std::move(files)), discard_(std::move(discard)) {
  setObjectName("frmRecover");
  setWindowTitle("Recover Entries");
  auto* layout = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "Kennel Logbook ended without saving these entries. Restore one to go on writing it, or "
      "discard the ones you do not need. Closing this window keeps them for the next start.",
      this);
  intro->setWordWrap(true);
  layout->addWidget(intro);

  lvRecoveries_ = new QTreeWidget(this);
  lvRecoveries_->setObjectName("lvRecoveries");
  lvRecoveries_->setHeaderLabels({"Entry", "Autosaved", "First words"});
  lvRecoveries_->setRootIsDecorated(false);
  lvRecoveries_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvRecoveries_->setAllColumnsShowFocus(true);
  layout->addWidget(lvRecoveries_, 1);
  connect(lvRecoveries_, &QTreeWidget::itemActivated, this, [this] { accept(); });

  auto* buttons = new QDialogButtonBox(this);
  btnRestore = buttons->addButton("&Restore", QDialogButtonBox::AcceptRole);
  btnDiscard = buttons->addButton("&Discard", QDialogButtonBox::DestructiveRole);
  btnRestore->setDefault(true);
  connect(btnRestore, &QPushButton::clicked, this, [this] { accept(); });
  connect(btnDiscard, &QPushButton::clicked, this, [this] { DiscardChosen(); });
  layout->addWidget(buttons);

  Fill();
  resize(620, 300);
  lvRecoveries_->setFocus();
}

void TfrmRecover::Fill() {
  lvRecoveries_->clear();
  const QLocale locale = QLocale::system();
  for (const TRecoveryFile& file : files_) {
    auto* row = new QTreeWidgetItem(lvRecoveries_);
    row->setText(0, QString::fromStdString(file.Title));
    row->setText(1, locale.toString(file.SavedAt.toLocalTime(), QLocale::ShortFormat));
    row->setText(2, QString::fromStdString(file.FirstWords));
    row->setToolTip(2, QString::fromStdString(file.FirstWords));
  }
  lvRecoveries_->header()->resizeSection(0, 150);
  lvRecoveries_->resizeColumnToContents(1);
  // The newest is the likeliest wanted.
  Choose(int(files_.size()) - 1);
  btnRestore->setEnabled(!files_.empty());
  btnDiscard->setEnabled(!files_.empty());
}

int TfrmRecover::Chosen() const {
  const QTreeWidgetItem* row = lvRecoveries_->currentItem();
  return row ? lvRecoveries_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(row)) : -1;
}

void TfrmRecover::Choose(int row) {
  if (row < 0 || row >= lvRecoveries_->topLevelItemCount()) return;
  lvRecoveries_->setCurrentItem(lvRecoveries_->topLevelItem(row));
}

void TfrmRecover::DiscardChosen() {
  const int row = Chosen();
  if (row < 0) return;
  if (discard_) discard_(files_[std::size_t(row)]);
  files_.erase(files_.begin() + row);
  Fill();
  if (files_.empty()) reject();
}

}  // namespace kl
