#pragma once
// The control's object interface as the editor sees it: result codes, the object interface the
// control hands out (EM_GETOLEINTERFACE) and the base of the callback the host registers
// (EM_SETOLECALLBACK). Embedded objects themselves live in the object-linking layer.

#include <cstdint>
#include <string>

namespace richedit {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);

// What the host registers with EM_SETOLECALLBACK; the control only keeps the pointer for now.
class IRichEditOleCallback {
 public:
  virtual ~IRichEditOleCallback() = default;
};

// The control's own object interface. The control owns it; AddRef/Release only count, so a
// host that releases it early does not free it under the control.
class IRichEditOle {
 public:
  virtual ~IRichEditOle() = default;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;
  // The names shown for embedded objects: the application's and the document's.
  virtual HRESULT SetHostNames(const char* containerApp, const char* containerObject) = 0;
};

class RichEditOle final : public IRichEditOle {
 public:
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override { return refs_ > 0 ? --refs_ : 0; }
  HRESULT SetHostNames(const char* containerApp, const char* containerObject) override {
    if (containerApp == nullptr) return E_INVALIDARG;
    hostApp_ = containerApp;
    hostObject_ = containerObject != nullptr ? containerObject : "";
    return S_OK;
  }

  const std::string& hostAppName() const { return hostApp_; }
  const std::string& hostObjectName() const { return hostObject_; }
  ULONG referenceCount() const { return refs_; }

 private:
  ULONG refs_ = 0;
  std::string hostApp_;
  std::string hostObject_;
};

}  // namespace richedit
