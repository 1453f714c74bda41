#include "framework/InPlaceFrame.h"

#include <QVariant>

namespace kl {

namespace {
constexpr char kFrameProperty[] = "klbInPlaceFrame";
}

TInPlaceFrameObject::TInPlaceFrameObject(QWidget& form) : QObject(&form), form_(&form) {
  form.setProperty(kFrameProperty, QVariant::fromValue<void*>(this));
}

// Kept by the form as a property: the class has no meta-object of its own to be found by.
TInPlaceFrameObject& TInPlaceFrameObject::Of(QWidget& form) {
  if (void* kept = form.property(kFrameProperty).value<void*>())
    return *static_cast<TInPlaceFrameObject*>(kept);
  return *new TInPlaceFrameObject(form);
}

void TInPlaceFrameObject::SetMenu(void* sharedMenu) {
  menuShared_ = sharedMenu != nullptr;
}

}  // namespace kl
