#pragma once
// The object interfaces the editor and the rich-edit control use: the object itself, its verb
// list, its presentation cache, its data, its link, its client site and its storage.

#include <QByteArray>
#include <QString>

#include "platform/ole/OleTypes.h"
#include "platform/ole/Unknown.h"

namespace ole {

class IMoniker;
class IBindCtx;

// A window handle as the object-linking calls take it: the widget the object belongs to.
using HWND = void*;
struct MSG;

// Bytes kept for an object, named streams in one block of memory.
class ILockBytes : public IUnknown {
 public:
  virtual QByteArray& bytes() = 0;
};

class IStorage : public IUnknown {
 public:
  // Writes (or replaces) a named stream.
  virtual HRESULT WriteStream(const QString& name, const QByteArray& data) = 0;
  // Reads a named stream; S_FALSE when there is none.
  virtual HRESULT ReadStream(const QString& name, QByteArray& data) = 0;
  virtual HRESULT Commit() = 0;
};

// What the container offers the object: where it lies, and a place to save it.
class IOleClientSite : public IUnknown {
 public:
  virtual HRESULT SaveObject() = 0;
  // The container's window, as a parent for anything the object shows.
  virtual HWND ContainerWindow() = 0;
  // An object edited inside the container says when it starts and stops (the in-place
  // site's calls); the container may refuse the start.
  virtual HRESULT OnInPlaceActivate() = 0;
  virtual HRESULT OnInPlaceDeactivate() = 0;
};

class IEnumOLEVERB : public IUnknown {
 public:
  // Hands out up to `count` verbs; S_OK when all were handed out, S_FALSE when fewer.
  virtual HRESULT Next(ULONG count, OLEVERB* verbs, ULONG* fetched) = 0;
  virtual HRESULT Reset() = 0;
};

class IEnumSTATDATA : public IUnknown {
 public:
  virtual HRESULT Next(ULONG count, STATDATA* items, ULONG* fetched) = 0;
  virtual HRESULT Reset() = 0;
};

class IOleObject : public IUnknown {
 public:
  virtual HRESULT SetClientSite(IOleClientSite* site) = 0;
  virtual HRESULT SetHostNames(const char* containerApp, const char* containerObject) = 0;
  virtual HRESULT EnumVerbs(IEnumOLEVERB** verbs) = 0;
  virtual HRESULT DoVerb(LONG verb, const MSG* msg, IOleClientSite* site, LONG index, HWND parent,
                         const RECT* rect) = 0;
  virtual HRESULT Close(DWORD saveOption) = 0;
  // The type's name, in task memory, freed by the caller.
  virtual HRESULT GetUserType(DWORD form, char16_t** name) = 0;
  virtual HRESULT GetUserClassID(CLSID* clsid) = 0;
  virtual HRESULT Update() = 0;
};

class IDataObject : public IUnknown {
 public:
  virtual HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) = 0;
};

class IOleCache : public IUnknown {
 public:
  virtual HRESULT Cache(const FORMATETC* format, DWORD advf, DWORD* connection) = 0;
  virtual HRESULT Uncache(DWORD connection) = 0;
  virtual HRESULT EnumCache(IEnumSTATDATA** items) = 0;
  virtual HRESULT SetData(const FORMATETC* format, STGMEDIUM* medium, bool release) = 0;
};

class IOleLink : public IUnknown {
 public:
  virtual HRESULT SetUpdateOptions(DWORD options) = 0;
  virtual HRESULT GetUpdateOptions(DWORD* options) = 0;
  virtual HRESULT GetSourceMoniker(IMoniker** moniker) = 0;
  virtual HRESULT SetSourceDisplayName(const char16_t* name) = 0;
  virtual HRESULT GetSourceDisplayName(char16_t** name) = 0;
};

}  // namespace ole
