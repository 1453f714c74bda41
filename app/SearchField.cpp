#include "app/SearchField.h"

#include <QKeyEvent>
#include <QLabel>

namespace kl {

TSearchField::TSearchField(QWidget* parent) : QLineEdit(parent) {
  setClearButtonEnabled(false);
  count_ = new QLabel(this);
  count_->setObjectName("lblSearchCount");
  QPalette grey = count_->palette();
  grey.setColor(QPalette::WindowText, palette().color(QPalette::Disabled, QPalette::Text));
  count_->setPalette(grey);
  count_->setAttribute(Qt::WA_TransparentForMouseEvents);
  count_->hide();
}

void TSearchField::SetCount(const QString& count) {
  count_->setText(count);
  count_->setVisible(!count.isEmpty());
  // The typed text stops short of the number.
  setTextMargins(0, 0, count.isEmpty() ? 0 : count_->sizeHint().width() + 4, 0);
  PlaceCount();
}

QString TSearchField::Count() const {
  return count_->isVisible() ? count_->text() : QString();
}

void TSearchField::keyPressEvent(QKeyEvent* event) {
  const auto raise = [event](const std::function<void()>& handler) {
    if (!handler) return false;
    handler();
    event->accept();
    return true;
  };
  switch (event->key()) {
    case Qt::Key_Escape:
      if (raise(OnEscape)) return;
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (raise(OnEnter)) return;
      break;
    case Qt::Key_Down:
      if (raise(OnDown)) return;
      break;
    default:
      break;
  }
  QLineEdit::keyPressEvent(event);
}

void TSearchField::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceCount();
}

void TSearchField::PlaceCount() {
  const QSize size = count_->sizeHint();
  count_->setGeometry(width() - size.width() - 5, (height() - size.height()) / 2, size.width(),
                      size.height());
}

}  // namespace kl
