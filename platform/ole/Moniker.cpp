#include "platform/ole/Moniker.h"

#include <algorithm>

#include "platform/ole/TaskMemory.h"

namespace ole {

namespace {

class BindCtx final : public IBindCtx {
 public:
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::BindCtx ? this : nullptr, out);
  }
  OLE_IMPLEMENT_REFCOUNT()
};

class SimpleMoniker : public IMoniker {
 public:
  SimpleMoniker(DWORD kind, QString name) : kind_(kind), name_(std::move(name)) {}
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::Moniker ? this : nullptr, out);
  }
  HRESULT IsSystemMoniker(DWORD* kind) override {
    if (kind == nullptr) return E_POINTER;
    *kind = kind_;
    return S_OK;
  }
  HRESULT Enum(bool, IEnumMoniker** parts) override {
    if (parts == nullptr) return E_POINTER;
    *parts = nullptr;  // not a composite: nothing to enumerate
    return S_OK;
  }
  HRESULT GetDisplayName(IBindCtx*, IMoniker*, char16_t** name) override {
    if (name == nullptr) return E_POINTER;
    *name = taskStringCopy(name_);
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  DWORD kind_;
  QString name_;
};

class MonikerList final : public IEnumMoniker {
 public:
  explicit MonikerList(std::vector<ComPtr<IMoniker>> items) : items_(std::move(items)) {}
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::EnumMoniker ? this : nullptr, out);
  }
  HRESULT Next(ULONG count, IMoniker** items, ULONG* fetched) override {
    if (items == nullptr) return E_POINTER;
    ULONG given = 0;
    for (; given < count && next_ < items_.size(); ++given, ++next_) {
      items[given] = ComPtr<IMoniker>(items_[next_]).detach();
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  std::vector<ComPtr<IMoniker>> items_;
  std::size_t next_ = 0;
};

class CompositeMoniker final : public IMoniker {
 public:
  explicit CompositeMoniker(std::vector<ComPtr<IMoniker>> parts) : parts_(std::move(parts)) {}
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::Moniker ? this : nullptr, out);
  }
  HRESULT IsSystemMoniker(DWORD* kind) override {
    if (kind == nullptr) return E_POINTER;
    *kind = MKSYS_GENERICCOMPOSITE;
    return S_OK;
  }
  HRESULT Enum(bool forward, IEnumMoniker** parts) override {
    if (parts == nullptr) return E_POINTER;
    std::vector<ComPtr<IMoniker>> order = parts_;
    if (!forward) std::reverse(order.begin(), order.end());
    *parts = new MonikerList(std::move(order));
    return S_OK;
  }
  HRESULT GetDisplayName(IBindCtx* context, IMoniker*, char16_t** name) override {
    if (name == nullptr) return E_POINTER;
    QString whole;
    for (const ComPtr<IMoniker>& part : parts_) {
      char16_t* piece = nullptr;
      if (FAILED(part->GetDisplayName(context, nullptr, &piece))) return E_FAIL;
      whole += takeTaskString(piece);
    }
    *name = taskStringCopy(whole);
    return *name ? S_OK : E_OUTOFMEMORY;
  }
  const std::vector<ComPtr<IMoniker>>& parts() const { return parts_; }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  std::vector<ComPtr<IMoniker>> parts_;
};

// The parts a moniker adds to a composite: a composite's own parts, or itself.
void appendParts(IMoniker* moniker, std::vector<ComPtr<IMoniker>>& parts) {
  DWORD kind = MKSYS_NONE;
  moniker->IsSystemMoniker(&kind);
  if (kind != MKSYS_GENERICCOMPOSITE) {
    parts.emplace_back(moniker);
    return;
  }
  ComPtr<IEnumMoniker> list;
  if (FAILED(moniker->Enum(true, list.put())) || !list) return;
  for (IMoniker* part = nullptr; list->Next(1, &part, nullptr) == S_OK;) {
    parts.push_back(ComPtr<IMoniker>::attach(part));
  }
}

}  // namespace

HRESULT CreateBindCtx(DWORD reserved, IBindCtx** context) {
  if (context == nullptr) return E_POINTER;
  *context = nullptr;
  if (reserved != 0) return E_INVALIDARG;
  *context = new BindCtx;
  return S_OK;
}

HRESULT CreateFileMoniker(const QString& path, IMoniker** moniker) {
  if (moniker == nullptr) return E_POINTER;
  *moniker = nullptr;
  if (path.isEmpty()) return MK_E_SYNTAX;
  *moniker = new SimpleMoniker(MKSYS_FILEMONIKER, path);
  return S_OK;
}

HRESULT CreateItemMoniker(const QString& delimiter, const QString& item, IMoniker** moniker) {
  if (moniker == nullptr) return E_POINTER;
  *moniker = new SimpleMoniker(MKSYS_ITEMMONIKER, delimiter + item);
  return S_OK;
}

HRESULT CreateGenericComposite(IMoniker* first, IMoniker* rest, IMoniker** composite) {
  if (composite == nullptr) return E_POINTER;
  *composite = nullptr;
  if (first == nullptr && rest == nullptr) return S_OK;
  if (first == nullptr || rest == nullptr) {
    IMoniker* only = first ? first : rest;
    only->AddRef();
    *composite = only;
    return S_OK;
  }
  std::vector<ComPtr<IMoniker>> parts;
  appendParts(first, parts);
  appendParts(rest, parts);
  *composite = new CompositeMoniker(std::move(parts));
  return S_OK;
}

}  // namespace ole
