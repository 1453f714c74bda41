#pragma once
// The per-form object an embedded object talks to while it is edited inside a control: the
// form's window, its menu and border space, which of its controls holds the active object, and
// whether the form scrolls itself. Made for a form on first need and kept by it.

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kl {

class TInPlaceFrameObject : public QObject {
 public:
  // The form's frame object, made on first need.
  static TInPlaceFrameObject& Of(QWidget& form);

  QWidget* Form() const { return form_; }
  QWidget* Window() const { return form_; }
  // With no shared menu, the form's own menu is put back.
  void SetMenu(void* sharedMenu);
  void ClearBorderSpace() { borderSpace_ = 0; }
  int BorderSpace() const { return borderSpace_; }
  bool MenuShared() const { return menuShared_; }

  // The control of the form whose object is active in place, if any.
  QWidget* ActiveOleControl() const { return activeOleControl_; }
  void SetActiveOleControl(QWidget* control) { activeOleControl_ = control; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }

 private:
  explicit TInPlaceFrameObject(QWidget& form);

  QWidget* form_;
  QPointer<QWidget> activeOleControl_;
  bool autoScroll_ = true;
  bool menuShared_ = false;
  int borderSpace_ = 0;
};

}  // namespace kl
