#include "framework/ClickLabel.h"

#include <QMouseEvent>

namespace kl {

TClickLabel::TClickLabel(QWidget* parent) : QLabel(parent) {}

void TClickLabel::Click() {
  Raise(OnClick, this);
}

void TClickLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void TClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) Click();
}

}  // namespace kl
