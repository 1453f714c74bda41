#include "app/About.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

namespace kl {

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle("About");
  auto* layout = new QVBoxLayout(this);
  auto* logo = new QLabel(this);
  logo->setPixmap(QPixmap(":/logo.bmp"));
  logo->setAlignment(Qt::AlignCenter);
  layout->addWidget(logo);
  auto* text = new QLabel(
      "Kennel Logbook\n\nA journal of your dog's training: dated notes, formatted and "
      "illustrated, kept on your own computer.",
      this);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignCenter);
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  text->setMinimumWidth(280);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kl
