#include "app/EntryHistoryDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <exception>

#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"

namespace kl {

std::string ReadableSize(std::int64_t bytes) {
  const QLocale locale = QLocale::system();
  if (bytes < 1024) return std::to_string(bytes) + " bytes";
  if (bytes < 1024 * 1024) return std::to_string((bytes + 1023) / 1024) + " KB";
  return locale.toString(double(bytes) / (1024.0 * 1024.0), 'f', 1).toStdString() + " MB";
}

TfrmEntryHistory::TfrmEntryHistory(const std::string& title, std::vector<THistoryVersion> versions,
                                   QWidget* parent)
    : QDialog(parent), versions_(std::move(versions)) {
  setObjectName("frmEntryHistory");
  setWindowTitle(QString::fromStdString("Entry History - " + title));
  auto* layout = new QVBoxLayout(this);

  auto* split = new QSplitter(Qt::Horizontal, this);
  lvVersions_ = new QTreeWidget(split);
  lvVersions_->setObjectName("lvVersions");
  lvVersions_->setHeaderLabels({"Replaced", "Size"});
  lvVersions_->setRootIsDecorated(false);
  lvVersions_->setSelectionMode(QAbstractItemView::SingleSelection);
  const QLocale locale = QLocale::system();
  for (const THistoryVersion& version : versions_) {
    auto* row = new QTreeWidgetItem(lvVersions_);
    row->setText(0, locale.toString(version.ReplacedAt.toLocalTime(), QLocale::ShortFormat));
    row->setText(1, QString::fromStdString(ReadableSize(version.Size)));
    row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  }
  lvVersions_->resizeColumnToContents(0);
  lvVersions_->resizeColumnToContents(1);
  lvVersions_->header()->setStretchLastSection(false);

  auto* previewPane = new QWidget(split);
  auto* previewLayout = new QVBoxLayout(previewPane);
  previewLayout->setContentsMargins(0, 0, 0, 0);
  lblPreview_ = new QLabel(previewPane);
  lblPreview_->setWordWrap(true);
  rchPreview_ = new TKlRichEdit(previewPane);
  rchPreview_->setObjectName("rchPreview");
  rchPreview_->SetReadOnly(true);
  previewLayout->addWidget(lblPreview_);
  previewLayout->addWidget(rchPreview_, 1);
  split->addWidget(lvVersions_);
  split->addWidget(previewPane);
  split->setSizes({300, 400});
  layout->addWidget(split, 1);

  auto* buttons = new QDialogButtonBox(this);
  btnRestore = buttons->addButton("&Restore", QDialogButtonBox::AcceptRole);
  QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
  btnRestore->setDefault(true);
  connect(btnRestore, &QPushButton::clicked, this, [this] { accept(); });
  connect(close, &QPushButton::clicked, this, [this] { reject(); });
  layout->addWidget(buttons);

  connect(lvVersions_, &QTreeWidget::currentItemChanged, this, [this] { ShowPreview(); });
  connect(lvVersions_, &QTreeWidget::itemActivated, this, [this] { accept(); });
  resize(760, 440);
  if (versions_.empty()) {
    lblPreview_->setText(
        "No earlier version of this entry has been kept yet. A version is kept each time a "
        "save replaces the entry.");
    btnRestore->setEnabled(false);
  } else {
    Choose(0);
  }
  lvVersions_->setFocus();
}

int TfrmEntryHistory::Chosen() const {
  QTreeWidgetItem* row = lvVersions_->currentItem();
  return row ? lvVersions_->indexOfTopLevelItem(row) : -1;
}

void TfrmEntryHistory::Choose(int row) {
  if (row < 0 || row >= lvVersions_->topLevelItemCount()) return;
  lvVersions_->setCurrentItem(lvVersions_->topLevelItem(row));
}

std::string TfrmEntryHistory::PreviewText() const {
  return rchPreview_->TextRange(0, -1);
}

void TfrmEntryHistory::ShowPreview() {
  const int row = Chosen();
  rchPreview_->Lines().Clear();
  btnRestore->setEnabled(row >= 0);
  if (row < 0) return;
  try {
    rchPreview_->Lines().LoadFromFile(versions_[std::size_t(row)].Path);
    lblPreview_->clear();
  } catch (const std::exception& failure) {
    lblPreview_->setText(QString("This version cannot be read: %1").arg(failure.what()));
    btnRestore->setEnabled(false);
  }
}

}  // namespace kl
