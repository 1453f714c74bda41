#pragma once
// Monikers name a link's source: a file moniker holds a path, a generic composite a sequence
// of monikers. A bind context carries the state of one naming operation.

#include <QString>
#include <vector>

#include "platform/ole/Unknown.h"

namespace ole {

class IMoniker;

class IEnumMoniker : public IUnknown {
 public:
  virtual HRESULT Next(ULONG count, IMoniker** items, ULONG* fetched) = 0;
};

class IBindCtx : public IUnknown {};

class IMoniker : public IUnknown {
 public:
  virtual HRESULT IsSystemMoniker(DWORD* kind) = 0;
  // The parts of a composite, first to last (or last to first when not forward).
  virtual HRESULT Enum(bool forward, IEnumMoniker** parts) = 0;
  // The display name, in task memory, freed by the caller.
  virtual HRESULT GetDisplayName(IBindCtx* context, IMoniker* left, char16_t** name) = 0;
};

HRESULT CreateBindCtx(DWORD reserved, IBindCtx** context);
HRESULT CreateFileMoniker(const QString& path, IMoniker** moniker);
// A monikers for an item inside the file it follows (an anchor, a sheet's range).
HRESULT CreateItemMoniker(const QString& delimiter, const QString& item, IMoniker** moniker);
HRESULT CreateGenericComposite(IMoniker* first, IMoniker* rest, IMoniker** composite);

}  // namespace ole
