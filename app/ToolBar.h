#pragma once
// A flat tool bar of 23 x 22 image buttons linked to actions, in one row or one column, with
// 8-pixel separators between groups. A button whose action is checked is drawn pressed.

#include <QWidget>

class QBoxLayout;
class QToolButton;

namespace kl {

class TAction;

class TToolBar : public QWidget {
 public:
  TToolBar(Qt::Orientation orientation, QWidget* parent);

  QToolButton* AddButton(const TAction& action, const QString& name);
  // A separator line in a row, a gap in a column; 8 pixels either way.
  void AddSeparator(const QString& name);
  // Any other control, after the ones already there (the menu's caption buttons).
  void AddWidget(QWidget* control);

  static constexpr int ButtonWidth = 23;
  static constexpr int ButtonHeight = 22;
  static constexpr int SeparatorSize = 8;

 private:
  Qt::Orientation orientation_;
  QBoxLayout* layout_;
};

}  // namespace kl
