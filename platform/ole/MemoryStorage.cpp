#include "platform/ole/MemoryStorage.h"

#include <QDataStream>
#include <QIODevice>
#include <QMap>

namespace ole {

namespace {

class MemoryBlock final : public ILockBytes {
 public:
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::LockBytes ? this : nullptr, out);
  }
  QByteArray& bytes() override { return bytes_; }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  QByteArray bytes_;
};

// The streams are kept by name and written through to the block as a list of (name, bytes),
// so that the block always holds the whole storage.
class BlockStorage final : public IStorage {
 public:
  explicit BlockStorage(ILockBytes* block) : block_(block) {}
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::Storage ? this : nullptr, out);
  }
  HRESULT WriteStream(const QString& name, const QByteArray& data) override {
    if (name.isEmpty()) return E_INVALIDARG;
    streams_.insert(name, data);
    return Commit();
  }
  HRESULT ReadStream(const QString& name, QByteArray& data) override {
    const auto found = streams_.constFind(name);
    if (found == streams_.constEnd()) return S_FALSE;
    data = *found;
    return S_OK;
  }
  HRESULT Commit() override {
    QByteArray& bytes = block_->bytes();
    bytes.clear();
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << streams_;
    return out.status() == QDataStream::Ok ? S_OK : E_OUTOFMEMORY;
  }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  ComPtr<ILockBytes> block_;
  QMap<QString, QByteArray> streams_;
};

}  // namespace

HRESULT CreateILockBytesOnHGlobal(void* block, bool, ILockBytes** bytes) {
  if (bytes == nullptr) return E_POINTER;
  *bytes = nullptr;
  if (block != nullptr) return E_INVALIDARG;  // only fresh blocks are made here
  *bytes = new MemoryBlock;
  return S_OK;
}

HRESULT StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode, DWORD reserved,
                                     IStorage** storage) {
  if (storage == nullptr) return E_POINTER;
  *storage = nullptr;
  if (bytes == nullptr || reserved != 0) return E_INVALIDARG;
  if (!(mode & STGM_CREATE) || !(mode & STGM_READWRITE)) return E_INVALIDARG;
  auto* made = new BlockStorage(bytes);
  if (FAILED(made->Commit())) {
    made->Release();
    return E_OUTOFMEMORY;
  }
  *storage = made;
  return S_OK;
}

}  // namespace ole
