#pragma once
// The editor's embedded-object callback: what the control asks the host about objects it
// inserts, deletes, pastes, drops and activates, and the bookkeeping of an object edited
// inside the control. A plain object of its editor: its reference count never frees it.

#include <QKeySequence>
#include <vector>

#include "platform/richedit/RichEditOle.h"

namespace kl {

class TKlCustomRichEdit;
class TInPlaceFrameObject;

// The frame information handed to an object activated in place.
struct OLEINPLACEFRAMEINFO {
  std::uint32_t cb = 0;
  bool fMDIApp = false;
  void* hwndFrame = nullptr;
  const QKeySequence* haccel = nullptr;
  std::uint32_t cAccelEntries = 0;
};

class TRichEditOleCallback : public richedit::IRichEditOleCallback {
 public:
  explicit TRichEditOleCallback(TKlCustomRichEdit& owner) : RichEdit(owner) {}
  ~TRichEditOleCallback() override;
  TKlCustomRichEdit& Owner() const { return RichEdit; }

  richedit::HRESULT QueryInterface(ole::Iid iid, void** out) override;
  richedit::ULONG AddRef() override { return ++refs_; }
  richedit::ULONG Release() override { return refs_ > 0 ? --refs_ : 0; }
  richedit::HRESULT GetNewStorage(ole::IStorage** storage) override;
  richedit::HRESULT GetInPlaceContext(void** frame, void** document, void* frameInfo) override;
  richedit::HRESULT ShowContainerUI(bool show) override;
  richedit::HRESULT QueryInsertObject(ole::CLSID* clsid, ole::IStorage* storage,
                                      std::int32_t cp) override;
  richedit::HRESULT DeleteObject(ole::IOleObject* object) override;
  richedit::HRESULT QueryAcceptData(ole::IDataObject* data, std::uint16_t* format,
                                    std::uint32_t reco, bool really, void* metaPict) override;
  richedit::HRESULT ContextSensitiveHelp(bool enterMode) override;
  richedit::HRESULT GetClipboardData(richedit::CHARRANGE* range, std::uint32_t reco,
                                     ole::IDataObject** data) override;
  richedit::HRESULT GetDragDropEffect(bool drag, std::uint32_t keyState,
                                      std::uint32_t* effect) override;
  richedit::HRESULT GetContextMenu(std::uint16_t selectionType, ole::IOleObject* object,
                                   richedit::CHARRANGE* range, void** menu) override;

  TInPlaceFrameObject* FrameForm() const { return FrameForm_; }
  TInPlaceFrameObject* DocForm() const { return DocForm_; }
  const std::vector<QKeySequence>& AcceleratorTable() const { return AcceleratorTable_; }
  bool HasAcceleratorTable() const { return hasAccelerators_; }
  bool SavedAutoScroll() const { return SavedAutoScroll_; }
  richedit::ULONG referenceCount() const { return refs_; }

 private:
  void FindFrame();
  void BuildAccelerators();
  void DestroyAcceleratorTable();

  TKlCustomRichEdit& RichEdit;
  TInPlaceFrameObject* DocForm_ = nullptr;
  TInPlaceFrameObject* FrameForm_ = nullptr;
  std::vector<QKeySequence> AcceleratorTable_;
  bool hasAccelerators_ = false;
  bool SavedAutoScroll_ = false;
  richedit::ULONG refs_ = 0;
};

}  // namespace kl
