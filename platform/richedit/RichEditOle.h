#pragma once
// The control's object interface (EM_GETOLEINTERFACE) and the callback a host registers
// (EM_SETOLECALLBACK), with the object record they exchange. The control keeps each embedded
// or linked object as one character of the text; RichEditOle knows the live object behind
// each such character, makes it live when it is first needed and writes it back when saved.

#include <QByteArray>
#include <QImage>
#include <QObject>
#include <QTextCursor>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ole/FileObject.h"
#include "platform/ole/OleInterfaces.h"

class QTextDocument;
class QTextImageFormat;

namespace richedit {

using HRESULT = ole::HRESULT;
using ULONG = ole::ULONG;
using ole::E_FAIL;
using ole::E_INVALIDARG;
using ole::E_NOINTERFACE;
using ole::E_NOTIMPL;
using ole::E_OUTOFMEMORY;
using ole::S_FALSE;
using ole::S_OK;

struct SIZEL {
  std::int32_t cx = 0, cy = 0;
};

// The object record (REOBJECT), in the platform's field order.
struct REOBJECT {
  std::uint32_t cbStruct = 0;
  std::int32_t cp = 0;
  ole::CLSID clsid;
  ole::IOleObject* poleobj = nullptr;
  ole::IStorage* pstg = nullptr;
  ole::IOleClientSite* polesite = nullptr;
  SIZEL sizel;
  std::uint32_t dvaspect = 0;
  std::uint32_t dwFlags = 0;
  std::uint32_t dwUser = 0;
};
static_assert(sizeof(REOBJECT) == (sizeof(void*) == 8 ? 72 : 56));

constexpr std::int32_t REO_IOB_SELECTION = -1;
constexpr std::int32_t REO_IOB_USE_CP = -2;
constexpr std::uint32_t REO_GETOBJ_NO_INTERFACES = 0;
constexpr std::uint32_t REO_GETOBJ_POLEOBJ = 1;
constexpr std::uint32_t REO_GETOBJ_PSTG = 2;
constexpr std::uint32_t REO_GETOBJ_POLESITE = 4;
constexpr std::uint32_t REO_GETOBJ_ALL_INTERFACES = 7;
constexpr std::uint32_t REO_RESIZABLE = 0x00000001;
constexpr std::uint32_t REO_SELECTED = 0x08000000;
constexpr std::uint32_t REO_INPLACEACTIVE = 0x02000000;
constexpr std::uint32_t REO_LINK = 0x80000000;
constexpr std::uint32_t REO_STATIC = 0x40000000;

// Why the control asks about data (QueryAcceptData, GetClipboardData).
constexpr std::uint32_t RECO_PASTE = 0;
constexpr std::uint32_t RECO_DROP = 1;
constexpr std::uint32_t RECO_COPY = 2;
constexpr std::uint32_t RECO_DRAG = 3;
constexpr std::uint32_t RECO_CUT = 4;
constexpr std::uint32_t DROPEFFECT_NONE = 0;
constexpr std::uint32_t DROPEFFECT_COPY = 1;
constexpr std::uint32_t DROPEFFECT_MOVE = 2;
constexpr std::uint32_t DROPEFFECT_LINK = 4;

struct CHARRANGE;

// What the host registers with EM_SETOLECALLBACK; the control asks it about each object it
// inserts, deletes, pastes, drops, copies and activates. Slot order as the platform's.
class IRichEditOleCallback : public ole::IUnknown {
 public:
  virtual HRESULT GetNewStorage(ole::IStorage** storage) = 0;
  // The frame and document of an activation in place; the frame info is the host's to fill.
  virtual HRESULT GetInPlaceContext(void** frame, void** document, void* frameInfo) = 0;
  virtual HRESULT ShowContainerUI(bool show) = 0;
  virtual HRESULT QueryInsertObject(ole::CLSID* clsid, ole::IStorage* storage, std::int32_t cp) = 0;
  virtual HRESULT DeleteObject(ole::IOleObject* object) = 0;
  virtual HRESULT QueryAcceptData(ole::IDataObject* data, std::uint16_t* format, std::uint32_t reco,
                                  bool really, void* metaPict) = 0;
  virtual HRESULT ContextSensitiveHelp(bool enterMode) = 0;
  virtual HRESULT GetClipboardData(CHARRANGE* range, std::uint32_t reco,
                                   ole::IDataObject** data) = 0;
  virtual HRESULT GetDragDropEffect(bool drag, std::uint32_t keyState, std::uint32_t* effect) = 0;
  // The host's own menu for the selection, or E_NOTIMPL for the control's.
  virtual HRESULT GetContextMenu(std::uint16_t selectionType, ole::IOleObject* object,
                                 CHARRANGE* range, void** menu) = 0;
};

class IRichEditOle : public ole::IUnknown {
 public:
  virtual std::int32_t GetObjectCount() = 0;
  virtual std::int32_t GetLinkCount() = 0;
  // The object at an index (in text order), at the selection (REO_IOB_SELECTION) or at the
  // record's cp (REO_IOB_USE_CP); flags say which interfaces to hand out, each with a reference.
  virtual HRESULT GetObject(std::int32_t index, REOBJECT* record, std::uint32_t flags) = 0;
  // Inserts the record's object at the selection (REO_CP_SELECTION) or its cp.
  virtual HRESULT InsertObject(REOBJECT* record) = 0;
  virtual HRESULT InPlaceDeactivate() = 0;
  virtual HRESULT SetDvaspect(std::int32_t index, std::uint32_t aspect) = 0;
  // The names shown for embedded objects: the application's and the document's.
  virtual HRESULT SetHostNames(const char* containerApp, const char* containerObject) = 0;
};

constexpr std::int32_t REO_CP_SELECTION = -1;

class RichEditEngine;

// The control's objects: one entry per object character, found by the character format's
// name. An object read from RTF becomes live (a packaged or linked file) when it is first
// drawn or asked for; one of another class, or one whose data is not sound, stays the bytes
// it was read as, written back unchanged.
class RichEditOle final : public QObject, public IRichEditOle {
 public:
  RichEditOle(RichEditEngine& engine, QTextDocument& doc);
  ~RichEditOle() override;

  HRESULT QueryInterface(ole::Iid iid, void** out) override;
  // The control owns it: the count never frees it.
  ULONG AddRef() override { return ++refs_; }
  ULONG Release() override { return refs_ > 0 ? --refs_ : 0; }

  std::int32_t GetObjectCount() override;
  std::int32_t GetLinkCount() override;
  HRESULT GetObject(std::int32_t index, REOBJECT* record, std::uint32_t flags) override;
  HRESULT InsertObject(REOBJECT* record) override;
  HRESULT InPlaceDeactivate() override;
  HRESULT SetDvaspect(std::int32_t index, std::uint32_t aspect) override;
  HRESULT SetHostNames(const char* containerApp, const char* containerObject) override;

  const std::string& hostAppName() const { return hostApp_; }
  const std::string& hostObjectName() const { return hostObject_; }
  ULONG referenceCount() const { return refs_; }

  // ---- For the control -------------------------------------------------------------------
  void setCallback(IRichEditOleCallback* callback) { callback_ = callback; }
  IRichEditOleCallback* callback() const { return callback_; }
  // What is drawn for an object character: its presentation, or a null image for an object
  // kept only as bytes.
  QImage presentation(const QTextImageFormat& format, int pos);
  // The group the RTF writer writes for an object character; empty to write what was read.
  QByteArray groupToWrite(const QTextImageFormat& format);
  // The live object of an object character, or none.
  ole::FileObject* objectOf(const QTextImageFormat& format, int pos);
  // The format of a new object character holding the object (made live here), or an invalid
  // format with error set when the host refused it.
  QTextImageFormat formatFor(ole::ComPtr<ole::FileObject> object, int pos, QString& error);
  // After an edit: objects whose character went are closed through the host's DeleteObject.
  void contentsChanged(int removed);
  // The document was emptied: every object goes.
  void forgetAll();
  // Runs an object's primary verb (a double click), reporting a failure to the person.
  void activate(int pos);

 private:
  struct Entry {
    ole::ComPtr<ole::FileObject> object;  // none: kept as bytes only
    ole::ComPtr<ole::IStorage> storage;
    ole::ComPtr<ole::IOleClientSite> site;
    std::uint32_t aspect = ole::DVASPECT_ICON;
    bool present = true;         // its character is in the text
    bool aspectChanged = false;  // to be written anew
    bool inPlaceActive = false;
    QTextCursor at;  // follows its character through edits
  };
  Entry* entryFor(const QTextImageFormat& format, int pos);
  Entry* makeLive(Entry& entry, ole::ComPtr<ole::FileObject> object);
  HRESULT setInPlace(Entry& entry, bool on);
  bool stillThere(const QString& name, Entry& entry);
  // The object characters in text order with their formats (live objects only).
  std::vector<std::pair<int, QTextImageFormat>> liveObjects();
  std::pair<int, Entry*> selected();
  std::pair<int, Entry*> byIndex(std::int32_t index, std::int32_t cp);
  void fill(REOBJECT& record, int pos, Entry& entry, std::uint32_t flags);
  void redraw(int pos);

  RichEditEngine& engine_;
  QTextDocument& doc_;
  IRichEditOleCallback* callback_ = nullptr;
  std::map<QString, Entry> entries_;  // nodes stay put: handlers keep pointers into them
  ULONG refs_ = 0;
  std::string hostApp_;
  std::string hostObject_;
  int serial_ = 0;
};

// The table of a document's objects, for those who draw it; none for a document without one.
RichEditOle* objectsOf(const QTextDocument& doc);
// A copy of the document (for printing) draws its objects as the original does.
void shareObjects(const QTextDocument& from, QTextDocument& to);

}  // namespace richedit
