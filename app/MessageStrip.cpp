#include "app/MessageStrip.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace kl {

TMessageStrip::TMessageStrip(QWidget* parent) : QWidget(parent) {
  setObjectName("stripMessage");
  setFocusPolicy(Qt::NoFocus);
  setAutoFillBackground(true);
  QPalette colours = palette();
  colours.setColor(QPalette::Window, QColor(0xFF, 0xF4, 0xCE));  // a soft warning yellow
  colours.setColor(QPalette::WindowText, Qt::black);
  setPalette(colours);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(6, 2, 2, 2);
  row->setSpacing(4);
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
  text_ = new QLabel(this);
  text_->setObjectName("lblMessage");
  text_->setTextFormat(Qt::PlainText);
  close_ = new QToolButton(this);
  close_->setObjectName("btnMessageClose");
  close_->setAutoRaise(true);
  close_->setFocusPolicy(Qt::NoFocus);
  close_->setText(QStringLiteral("\u00D7"));
  close_->setToolTip(QStringLiteral("Hide this notice"));
  connect(close_, &QToolButton::clicked, this, [this] { HideNotice(); });
  row->addWidget(icon);
  row->addWidget(text_, 1);
  row->addWidget(close_);
  hide();
}

void TMessageStrip::ShowNotice(const std::string& text) {
  text_->setText(QString::fromStdString(text));
  show();
}

void TMessageStrip::HideNotice() {
  text_->clear();
  hide();
}

std::string TMessageStrip::Notice() const {
  return isHidden() ? std::string() : text_->text().toStdString();
}

}  // namespace kl
