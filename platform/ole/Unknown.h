#pragma once
// The basic interface every object answers, an owning smart pointer over it, and a helper that
// counts references and frees the object with its last one.

#include <atomic>
#include <type_traits>
#include <utility>

#include "platform/ole/OleTypes.h"

namespace ole {

class IUnknown {
 public:
  virtual HRESULT QueryInterface(Iid iid, void** out) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  virtual ~IUnknown() = default;
};

// Holds one reference; Attach takes over a reference handed out by a call, the constructor from
// a raw pointer adds one of its own.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(T* p) : p_(p) {  // NOLINT: adds a reference, like assigning to a smart pointer
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  // From a pointer to a derived interface or class.
  template <typename U>
  requires std::is_convertible_v<U*, T*> ComPtr(ComPtr<U> other)
      : p_(other.detach()) {}  // NOLINT: converts like a raw pointer
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  static ComPtr attach(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }
  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // A place for a call to put an interface it hands out (with its reference).
  T** put() {
    reset();
    return &p_;
  }
  T* detach() { return std::exchange(p_, nullptr); }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // The object's answer for another interface, or none.
  template <typename U>
  ComPtr<U> as(Iid iid) const {
    ComPtr<U> result;
    if (p_) p_->QueryInterface(iid, reinterpret_cast<void**>(result.put()));
    return result;
  }

 private:
  T* p_ = nullptr;
};

// Reference counting for an object created with new: it is deleted with its last reference.
class RefCount {
 public:
  ULONG add() { return ++refs_; }
  // True when this was the last reference.
  bool release(ULONG& left) {
    left = --refs_;
    return left == 0;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

#define OLE_IMPLEMENT_REFCOUNT()          \
  ::ole::ULONG AddRef() override {        \
    return refs_.add();                   \
  }                                       \
  ::ole::ULONG Release() override {       \
    ::ole::ULONG left = 0;                \
    if (refs_.release(left)) delete this; \
    return left;                          \
  }                                       \
                                          \
 private:                                 \
  ::ole::RefCount refs_;                  \
                                          \
 public:

// Makes a new object holding its first reference.
template <typename T, typename... Args>
ComPtr<T> make(Args&&... args) {
  return ComPtr<T>::attach(new T(std::forward<Args>(args)...));
}

// Hands an interface out through an output place, with a reference for the receiver.
template <typename T>
HRESULT handOut(T* p, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = p;
  if (p == nullptr) return E_NOINTERFACE;
  p->AddRef();
  return S_OK;
}

}  // namespace ole
