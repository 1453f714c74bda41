#include "editor/RichEditOleCallback.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "editor/KlCustomRichEdit.h"
#include "framework/InPlaceFrame.h"
#include "platform/ole/MemoryStorage.h"

namespace kl {

using namespace richedit;

TRichEditOleCallback::~TRichEditOleCallback() {
  DestroyAcceleratorTable();
  FrameForm_ = nullptr;
  DocForm_ = nullptr;
}

HRESULT TRichEditOleCallback::QueryInterface(ole::Iid iid, void** out) {
  return ole::handOut(
      iid == ole::Iid::Unknown || iid == ole::Iid::RichEditOleCallback ? this : nullptr, out);
}

// Each new object's storage lies in a growable block of memory: the object is saved only as
// part of the entry's text.
HRESULT TRichEditOleCallback::GetNewStorage(ole::IStorage** storage) {
  if (storage == nullptr) return E_OUTOFMEMORY;
  *storage = nullptr;
  try {
    ole::ComPtr<ole::ILockBytes> block;
    if (ole::FAILED(ole::CreateILockBytesOnHGlobal(nullptr, true, block.put())))
      return E_OUTOFMEMORY;
    const ole::DWORD mode = ole::STGM_READWRITE | ole::STGM_SHARE_EXCLUSIVE | ole::STGM_CREATE;
    if (ole::FAILED(ole::StgCreateDocfileOnILockBytes(block.get(), mode, 0, storage)))
      return E_OUTOFMEMORY;
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

void TRichEditOleCallback::FindFrame() {
  QWidget* form = RichEdit.window();
  if (form == &RichEdit || FrameForm_ != nullptr || !RichEdit.AllowInPlace()) return;
  DocForm_ = &TInPlaceFrameObject::Of(*form);
  FrameForm_ = DocForm_;
  // Forms here are never multiple-document children: the frame is the form itself.
}

// The shortcuts of the frame's menus in the container's groups (its first, third and fifth
// menus), which stay the container's while an object is active.
void TRichEditOleCallback::BuildAccelerators() {
  if (hasAccelerators_ || FrameForm_ == nullptr) return;
  auto* main = qobject_cast<QMainWindow*>(FrameForm_->Form());
  QMenuBar* bar = main ? main->menuBar() : nullptr;
  if (bar == nullptr) return;
  const QList<QAction*> menus = bar->actions();
  for (int group : {0, 2, 4}) {
    if (group >= menus.size() || menus[group]->menu() == nullptr) continue;
    for (QAction* item : menus[group]->menu()->actions()) {
      if (!item->shortcut().isEmpty()) AcceleratorTable_.push_back(item->shortcut());
    }
  }
  hasAccelerators_ = true;
}

void TRichEditOleCallback::DestroyAcceleratorTable() {
  AcceleratorTable_.clear();
  hasAccelerators_ = false;
}

HRESULT TRichEditOleCallback::GetInPlaceContext(void** frame, void** document, void* frameInfo) {
  if (frame) *frame = nullptr;
  if (document) *document = nullptr;
  FindFrame();
  if (FrameForm_ == nullptr || !RichEdit.AllowInPlace()) return E_NOTIMPL;
  if (frame) *frame = FrameForm_;
  if (document) *document = DocForm_;
  BuildAccelerators();
  if (auto* info = static_cast<OLEINPLACEFRAMEINFO*>(frameInfo)) {
    info->fMDIApp = false;
    info->hwndFrame = FrameForm_->Window();
    info->haccel = AcceleratorTable_.empty() ? nullptr : AcceleratorTable_.data();
    info->cAccelEntries = std::uint32_t(AcceleratorTable_.size());
  }
  return S_OK;
}

HRESULT TRichEditOleCallback::ShowContainerUI(bool show) {
  if (!show) {
    FindFrame();
    if (FrameForm_ == nullptr) return E_NOTIMPL;
    SavedAutoScroll_ = FrameForm_->AutoScroll();
    FrameForm_->SetAutoScroll(false);
    RichEdit.SetInPlaceActive(true);
    return S_OK;
  }
  if (FrameForm_ == nullptr) return E_NOTIMPL;
  FrameForm_->SetMenu(nullptr);
  FrameForm_->ClearBorderSpace();
  RichEdit.SetInPlaceActive(false);
  DestroyAcceleratorTable();
  FrameForm_->SetAutoScroll(SavedAutoScroll_);
  FrameForm_ = nullptr;
  DocForm_ = nullptr;
  return S_OK;
}

HRESULT TRichEditOleCallback::QueryInsertObject(ole::CLSID*, ole::IStorage*, std::int32_t) {
  return S_OK;
}

HRESULT TRichEditOleCallback::DeleteObject(ole::IOleObject* object) {
  if (object) object->Close(ole::OLECLOSE_NOSAVE);
  return S_OK;
}

HRESULT TRichEditOleCallback::QueryAcceptData(ole::IDataObject*, std::uint16_t*, std::uint32_t,
                                              bool, void*) {
  return S_OK;
}

HRESULT TRichEditOleCallback::ContextSensitiveHelp(bool) {
  return S_OK;
}

HRESULT TRichEditOleCallback::GetClipboardData(CHARRANGE*, std::uint32_t, ole::IDataObject** data) {
  if (data) *data = nullptr;
  return E_NOTIMPL;
}

HRESULT TRichEditOleCallback::GetDragDropEffect(bool, std::uint32_t, std::uint32_t*) {
  return E_NOTIMPL;
}

HRESULT TRichEditOleCallback::GetContextMenu(std::uint16_t, ole::IOleObject*, CHARRANGE*, void**) {
  return E_NOTIMPL;
}

}  // namespace kl
