// Embedded objects in the editor: the context menu with the selected object's verbs and its
// properties item, running a verb, closing every object, the form's in-place bookkeeping, and
// the right-click rule of older systems.

#include <QAction>
#include <QApplication>
#include <QMenu>

#include "editor/KlCustomRichEdit.h"
#include "editor/KlObjectProperties.h"
#include "editor/KlRichEd.h"
#include "editor/RichEditOleCallback.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/InPlaceFrame.h"
#include "platform/ole/TaskMemory.h"

namespace kl {

using namespace richedit;

namespace {

REOBJECT emptyRecord() {
  REOBJECT record{};
  record.cbStruct = sizeof(REOBJECT);
  return record;
}

QString format(const char* pattern, const std::string& value) {
  return QString::fromUtf8(pattern).arg(QString::fromStdString(value));
}

}  // namespace

QMenu* TKlCustomRichEdit::EffectivePopupMenu() {
  delete std::exchange(verbMenu_, nullptr);  // takes the items it added to PopupMenu along
  QMenu* result = popupMenu_;
  if (!autoVerbMenu_ || SelectionType() != TSelectionTypes{TSelectionType::stObject} ||
      !richEditOle_)
    return result;
  REOBJECT record = emptyRecord();
  if (ole::FAILED(richEditOle_->GetObject(REO_IOB_SELECTION, &record, REO_GETOBJ_POLEOBJ)))
    return result;
  const auto object = ole::ComPtr<ole::IOleObject>::attach(record.poleobj);
  if (!object || (record.dwFlags & REO_INPLACEACTIVE)) return result;

  verbMenu_ = new QMenu(this);
  ole::ComPtr<ole::IEnumOLEVERB> verbs;
  if (object->EnumVerbs(verbs.put()) == S_OK && verbs) {
    for (ole::OLEVERB verb; verbs->Next(1, &verb, nullptr) == S_OK;) {
      const QString name = ole::takeTaskString(const_cast<char16_t*>(verb.lpszVerbName));
      if (verb.lVerb < 0 || !(verb.grfAttribs & ole::OLEVERBATTRIB_ONCONTAINERMENU)) break;
      auto* item = new QAction(name, verbMenu_);
      item->setData(int(verb.lVerb));
      verbMenu_->addAction(item);
      if (verb.lVerb == ole::OLEIVERB_PRIMARY) verbMenu_->setDefaultAction(item);
      QObject::connect(item, &QAction::triggered, this, [this, item] {
        try {
          RunObjectVerb(item);
        } catch (const std::exception& failure) {
          Application().HandleException(failure);
        }
      });
    }
  }
  const std::string type = ObjectTypeName(object.get(), ole::USERCLASSTYPE_FULL);
  auto* properties = new QAction(format("%1 Properties", type), verbMenu_);
  QObject::connect(properties, &QAction::triggered, this, [this] { ObjectPropertiesClick(); });
  if (result != nullptr && !result->actions().isEmpty()) {
    auto* separator = new QAction(verbMenu_);
    separator->setSeparator(true);
    result->addAction(separator);
    result->addAction(properties);
    if (!verbMenu_->actions().isEmpty()) {
      verbMenu_->setTitle(QString::fromStdString(type));
      result->addMenu(verbMenu_);
    }
  } else if (!verbMenu_->actions().isEmpty()) {
    verbMenu_->insertAction(verbMenu_->actions().first(), properties);
    result = verbMenu_;
  }
  return result;
}

void TKlCustomRichEdit::RunObjectVerb(QAction* item) {
  if (!richEditOle_ || item == nullptr) return;
  REOBJECT record = emptyRecord();
  if (ole::FAILED(richEditOle_->GetObject(REO_IOB_SELECTION, &record,
                                          REO_GETOBJ_POLEOBJ | REO_GETOBJ_POLESITE)))
    return;
  const auto object = ole::ComPtr<ole::IOleObject>::attach(record.poleobj);
  const auto site = ole::ComPtr<ole::IOleClientSite>::attach(record.polesite);
  if (!object || (record.dwFlags & REO_INPLACEACTIVE)) return;
  const QRect r = rect();
  const ole::RECT client{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  const ole::HRESULT hr =
      object->DoVerb(item->data().toInt(), nullptr, site.get(), 0, Control(), &client);
  if (ole::FAILED(hr)) throw Exception(ole::messageOf(hr).toStdString());
}

void TKlCustomRichEdit::ObjectPropertiesClick() {
  ShowObjectProperties();
}

void TKlCustomRichEdit::CloseAllObjects() {
  if (!richEditOle_) return;
  for (std::int32_t i = richEditOle_->GetObjectCount() - 1; i >= 0; --i) {
    REOBJECT record = emptyRecord();
    if (ole::FAILED(richEditOle_->GetObject(i, &record, REO_GETOBJ_POLEOBJ))) continue;
    const auto object = ole::ComPtr<ole::IOleObject>::attach(record.poleobj);
    if (record.dwFlags & REO_INPLACEACTIVE) richEditOle_->InPlaceDeactivate();
    if (object) object->Close(ole::OLECLOSE_NOSAVE);
  }
}

void TKlCustomRichEdit::SetInPlaceActive(bool active) {
  QWidget* form = window();
  if (form == this) return;
  try {
    TInPlaceFrameObject& frame = TInPlaceFrameObject::Of(*form);
    if (active) {
      QWidget* other = frame.ActiveOleControl();
      if (other != nullptr && other != this) {
        QEvent deactivate(QEvent::Type(QEvent::User + 0x17));  // the UI-deactivate notice
        QApplication::sendEvent(other, &deactivate);
      }
      frame.SetActiveOleControl(this);
      if (allowInPlace_ && isEnabled() && isVisible()) SetFocus();
      return;
    }
    if (frame.ActiveOleControl() == this) frame.SetActiveOleControl(nullptr);
    if (form->focusWidget() == this && allowInPlace_ && control_) {
      control_->setFocus();
      NotifySelectionChange();
    }
  } catch (const std::exception& failure) {
    Application().HandleException(failure);
  }
}

bool TKlCustomRichEdit::PopupContextMenu(const QPoint& screenPos) {
  QMenu* menu = EffectivePopupMenu();
  if (menu == nullptr) return false;
  if (PopupHook) {
    PopupHook(*menu, screenPos);
  } else {
    menu->exec(screenPos);
  }
  return true;
}

}  // namespace kl
