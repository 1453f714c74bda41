#pragma once
// Storage on a growable block of memory: where an object keeps its data while the entry is
// open. Nothing is written to disk; the entry's RTF carries the object when it is saved.

#include "platform/ole/OleInterfaces.h"

namespace ole {

// A growable memory block; with deleteOnRelease its bytes go with its last reference (they
// always do here: there is no outside block to keep).
HRESULT CreateILockBytesOnHGlobal(void* block, bool deleteOnRelease, ILockBytes** bytes);
// A storage whose streams live in the block; mode is STGM_* (STGM_CREATE starts it empty).
HRESULT StgCreateDocfileOnILockBytes(ILockBytes* bytes, DWORD mode, DWORD reserved,
                                     IStorage** storage);

}  // namespace ole
