#pragma once
// A label or picture that answers a click of the left mouse button, as the About dialog's
// links and the window's banners do. The click counts when the button is released over it.

#include <QLabel>

#include "framework/Object.h"

namespace kl {

class TClickLabel : public QLabel, public TObject {
 public:
  explicit TClickLabel(QWidget* parent = nullptr);

  TNotifyEvent OnClick;

  // Raises OnClick, as a click does.
  void Click();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace kl
