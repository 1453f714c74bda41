#pragma once
// What the two object servers (an embedded file and a linked file) share: the object's
// interfaces (verbs, user type names, data, cache) and what the control needs to show and keep
// it. Each server says what it holds, which verbs it has and how they run.

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>
#include <functional>
#include <vector>

#include "platform/ole/IconPicture.h"
#include "platform/ole/ObjectLayout.h"
#include "platform/ole/OleInterfaces.h"

namespace ole {

class FileObject : public IOleObject, public IDataObject, public IOleCache {
 public:
  struct Verb {
    LONG number;
    QString name;
  };

  HRESULT QueryInterface(Iid iid, void** out) override;

  // IOleObject
  HRESULT SetClientSite(IOleClientSite* site) override;
  HRESULT SetHostNames(const char* containerApp, const char* containerObject) override;
  HRESULT EnumVerbs(IEnumOLEVERB** verbs) override;
  HRESULT DoVerb(LONG verb, const MSG* msg, IOleClientSite* site, LONG index, HWND parent,
                 const RECT* rect) override;
  HRESULT Close(DWORD saveOption) override;
  HRESULT GetUserType(DWORD form, char16_t** name) override;
  HRESULT GetUserClassID(CLSID* clsid) override;
  HRESULT Update() override;

  // IDataObject
  HRESULT GetData(const FORMATETC* format, STGMEDIUM* medium) override;

  // IOleCache
  HRESULT Cache(const FORMATETC* format, DWORD advf, DWORD* connection) override;
  HRESULT Uncache(DWORD connection) override;
  HRESULT EnumCache(IEnumSTATDATA** items) override;
  HRESULT SetData(const FORMATETC* format, STGMEDIUM* medium, bool release) override;

  // ---- What the control needs ------------------------------------------------------------
  virtual bool isLink() const = 0;
  virtual QString label() const = 0;  // the file's name, shown under the icon
  virtual QString fullTypeName() const = 0;
  virtual QString shortTypeName() const = 0;
  virtual CLSID classId() const = 0;
  virtual std::vector<Verb> verbs() const = 0;
  // The object in the document's layout (what \objdata holds).
  virtual Ole1Object layout() const = 0;
  // The size of the file in bytes, -1 when unknown (a missing link).
  virtual qint64 fileSize() const = 0;
  // The picture shown for the content: the image of a picture file, else a card naming it.
  QImage contentPicture();
  // The picture shown as an icon: the cached icon picture when one was set, else its type's.
  QImage iconPicture();
  bool closed() const { return closed_; }
  // Whether the object changed since it was read (its layout must be written anew).
  bool changed() const { return changed_; }
  // Called after every change of how the object looks; kept is true when what the entry keeps
  // of it changed too (it must be saved).
  void setChangeHandler(std::function<void(bool kept)> handler) { onChange_ = std::move(handler); }

 protected:
  FileObject();
  ~FileObject() override;
  virtual HRESULT runVerb(LONG verb, HWND parent) = 0;
  // The bytes of a picture file, for showing its content; empty for other files.
  virtual QImage readContentImage() const = 0;
  void markChanged();
  void refreshPictures();

 private:
  struct CacheEntry {
    STATDATA data;
    HMETAFILEPICT picture = nullptr;  // owned
  };
  CacheEntry* iconEntry();

  ComPtr<IOleClientSite> site_;
  QString hostApp_, hostObject_;
  std::vector<CacheEntry> cache_;
  DWORD nextConnection_ = 1;
  bool closed_ = false;
  bool changed_ = false;
  bool contentLoaded_ = false;
  QImage content_;
  std::function<void(bool)> onChange_;

 public:
  OLE_IMPLEMENT_REFCOUNT()
};

// A picture file's image, read at most at a size fit for showing in an entry; null for other
// files.
QImage pictureOfBytes(const QByteArray& bytes);
QImage pictureOfFile(const QString& path);
// Whether a file's name says it is a picture this program shows (and pastes as a picture).
bool isPictureFileName(const QString& name);

}  // namespace ole
