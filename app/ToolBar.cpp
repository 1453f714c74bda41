#include "app/ToolBar.h"

#include <QAction>
#include <QBoxLayout>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QToolButton>

#include "framework/actions/Action.h"

namespace kl {

namespace {

// The etched line between groups of buttons.
class TToolSeparator : public QWidget {
 public:
  TToolSeparator(Qt::Orientation barOrientation, QWidget* parent)
      : QWidget(parent), barOrientation_(barOrientation) {
    if (barOrientation == Qt::Horizontal)
      setFixedSize(TToolBar::SeparatorSize, TToolBar::ButtonHeight);
    else
      setFixedSize(TToolBar::ButtonWidth, TToolBar::SeparatorSize);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    // A row shows a line between its groups; a column only leaves a gap.
    if (barOrientation_ != Qt::Horizontal) return;
    QPainter painter(this);
    const int x = width() / 2 - 1;
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawLine(x, 2, x, height() - 3);
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(x + 1, 2, x + 1, height() - 3);
  }

 private:
  Qt::Orientation barOrientation_;
};

}  // namespace

TToolBar::TToolBar(Qt::Orientation orientation, QWidget* parent)
    : QWidget(parent), orientation_(orientation) {
  layout_ = new QBoxLayout(
      orientation == Qt::Horizontal ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, this);
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
  layout_->addStretch(1);
  if (orientation == Qt::Horizontal)
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  else
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QToolButton* TToolBar::AddButton(const TAction& action, const QString& name) {
  auto* button = new QToolButton(this);
  button->setObjectName(name);
  button->setDefaultAction(action.Handle());
  button->setAutoRaise(true);
  button->setToolButtonStyle(Qt::ToolButtonIconOnly);
  button->setIconSize(QSize(16, 16));
  button->setFixedSize(ButtonWidth, ButtonHeight);
  // Only the tree and the editor take the keyboard focus.
  button->setFocusPolicy(Qt::NoFocus);
  AddWidget(button);
  return button;
}

void TToolBar::AddSeparator(const QString& name) {
  auto* separator = new TToolSeparator(orientation_, this);
  separator->setObjectName(name);
  AddWidget(separator);
}

void TToolBar::AddWidget(QWidget* control) {
  layout_->insertWidget(layout_->count() - 1, control);
}

}  // namespace kl
