#include "platform/ole/FileObject.h"

#include <QBuffer>
#include <QFont>
#include <QImageReader>
#include <QLocale>
#include <QPainter>

#include "platform/ole/ErrorInfo.h"
#include "platform/ole/TaskMemory.h"

namespace ole {

namespace {

constexpr int kContentSide = 320;  // a picture's content is shown at most this large

class VerbList final : public IEnumOLEVERB {
 public:
  explicit VerbList(std::vector<FileObject::Verb> verbs) : verbs_(std::move(verbs)) {}
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::EnumVerbs ? this : nullptr, out);
  }
  HRESULT Next(ULONG count, OLEVERB* out, ULONG* fetched) override {
    if (out == nullptr) return E_POINTER;
    ULONG given = 0;
    for (; given < count && next_ < verbs_.size(); ++given, ++next_) {
      const FileObject::Verb& verb = verbs_[next_];
      out[given] = {verb.number, taskStringCopy(verb.name), MF_STRING,
                    OLEVERBATTRIB_ONCONTAINERMENU};
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    next_ = 0;
    return S_OK;
  }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  std::vector<FileObject::Verb> verbs_;
  std::size_t next_ = 0;
};

class StatList final : public IEnumSTATDATA {
 public:
  explicit StatList(std::vector<STATDATA> items) : items_(std::move(items)) {}
  HRESULT QueryInterface(Iid iid, void** out) override {
    return handOut(iid == Iid::Unknown || iid == Iid::EnumStatData ? this : nullptr, out);
  }
  HRESULT Next(ULONG count, STATDATA* out, ULONG* fetched) override {
    if (out == nullptr) return E_POINTER;
    ULONG given = 0;
    for (; given < count && next_ < items_.size(); ++given, ++next_) out[given] = items_[next_];
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    next_ = 0;
    return S_OK;
  }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  std::vector<STATDATA> items_;
  std::size_t next_ = 0;
};

bool isIconFormat(const FORMATETC* f) {
  return f->dwAspect == DVASPECT_ICON && (f->cfFormat == CF_METAFILEPICT || f->cfFormat == 0);
}

QImage readScaled(QImageReader& reader) {
  const QSize size = reader.size();
  if (!size.isValid() || qint64(size.width()) * size.height() > 100'000'000) return {};
  if (size.width() > kContentSide || size.height() > kContentSide)
    reader.setScaledSize(size.scaled(kContentSide, kContentSide, Qt::KeepAspectRatio));
  return reader.read();
}

// A card naming the file, for content that cannot be drawn: its icon, name, type and size.
QImage cardPicture(const QImage& icon, const QString& name, const QString& type, qint64 size) {
  QImage image(260, 52, QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(246, 247, 250));
  QPainter p(&image);
  p.setPen(QColor(170, 175, 190));
  p.drawRect(image.rect().adjusted(0, 0, -1, -1));
  p.drawImage(10, (image.height() - icon.height()) / 2, icon);
  QFont font;
  font.setPixelSize(12);
  font.setBold(true);
  p.setFont(font);
  p.setPen(QColor(20, 20, 20));
  const QRect text(52, 6, image.width() - 60, 20);
  p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
             p.fontMetrics().elidedText(name, Qt::ElideMiddle, text.width()));
  font.setBold(false);
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(QColor(90, 90, 90));
  const QString detail = size >= 0
                             ? type + QStringLiteral(" · ") + QLocale().formattedDataSize(size)
                             : type + QStringLiteral(" · the file is missing");
  p.drawText(QRect(52, 26, image.width() - 60, 20), Qt::AlignLeft | Qt::AlignVCenter, detail);
  return image;
}

}  // namespace

bool isPictureFileName(const QString& name) {
  static const char* const kinds[] = {".png", ".jpg", ".jpeg", ".bmp", ".gif"};
  for (const char* kind : kinds) {
    if (name.endsWith(QLatin1String(kind), Qt::CaseInsensitive)) return true;
  }
  return false;
}

QImage pictureOfBytes(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  return readScaled(reader);
}

QImage pictureOfFile(const QString& path) {
  QImageReader reader(path);
  return readScaled(reader);
}

FileObject::FileObject() {
  STATDATA content;
  content.formatetc.dwAspect = DVASPECT_CONTENT;
  content.dwConnection = nextConnection_++;
  cache_.push_back({content, nullptr});
}

FileObject::~FileObject() {
  for (CacheEntry& entry : cache_) DeleteIconPicture(entry.picture);
}

HRESULT FileObject::QueryInterface(Iid iid, void** out) {
  switch (iid) {
    case Iid::Unknown:
    case Iid::OleObject:
      return handOut(static_cast<IOleObject*>(this), out);
    case Iid::DataObject:
      return handOut(static_cast<IDataObject*>(this), out);
    case Iid::OleCache:
      return handOut(static_cast<IOleCache*>(this), out);
    default:
      if (out) *out = nullptr;
      return E_NOINTERFACE;
  }
}

HRESULT FileObject::SetClientSite(IOleClientSite* site) {
  site_ = site;
  return S_OK;
}

HRESULT FileObject::SetHostNames(const char* containerApp, const char* containerObject) {
  hostApp_ = QString::fromUtf8(containerApp ? containerApp : "");
  hostObject_ = QString::fromUtf8(containerObject ? containerObject : "");
  return S_OK;
}

HRESULT FileObject::EnumVerbs(IEnumOLEVERB** out) {
  if (out == nullptr) return E_POINTER;
  *out = new VerbList(verbs());
  return S_OK;
}

HRESULT FileObject::DoVerb(LONG verb, const MSG*, IOleClientSite*, LONG, HWND parent, const RECT*) {
  // Showing the object and opening it are its primary verb: it is never edited in place.
  if (verb == OLEIVERB_SHOW || verb == OLEIVERB_OPEN) verb = OLEIVERB_PRIMARY;
  if (verb < 0) return S_OK;  // hiding, in-place and UI activation: nothing to do
  for (const Verb& known : verbs()) {
    if (known.number == verb) return runVerb(verb, parent);
  }
  return OLEOBJ_E_INVALIDVERB;
}

HRESULT FileObject::Close(DWORD) {
  closed_ = true;
  site_.reset();
  return S_OK;
}

HRESULT FileObject::GetUserType(DWORD form, char16_t** name) {
  if (name == nullptr) return E_POINTER;
  *name = nullptr;
  const QString type = form == USERCLASSTYPE_SHORT ? shortTypeName() : fullTypeName();
  *name = taskStringCopy(type);
  return *name ? S_OK : E_OUTOFMEMORY;
}

HRESULT FileObject::GetUserClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = classId();
  return S_OK;
}

HRESULT FileObject::Update() {
  refreshPictures();
  return S_OK;
}

HRESULT FileObject::GetData(const FORMATETC* format, STGMEDIUM* medium) {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  if (!isIconFormat(format) || !(format->tymed & TYMED_MFPICT)) return DV_E_FORMATETC;
  CacheEntry* entry = iconEntry();
  HMETAFILEPICT picture = entry && entry->picture ? copyIconPicture(entry->picture)
                                                  : iconPictureOfFile(label(), label());
  medium->tymed = TYMED_MFPICT;
  medium->hMetaFilePict = picture;
  medium->pUnkForRelease = nullptr;
  return S_OK;
}

HRESULT FileObject::Cache(const FORMATETC* format, DWORD advf, DWORD* connection) {
  if (format == nullptr) return E_POINTER;
  STATDATA data;
  data.formatetc = *format;
  data.advf = advf;
  data.dwConnection = nextConnection_++;
  cache_.push_back({data, nullptr});
  if (connection) *connection = data.dwConnection;
  markChanged();
  return S_OK;
}

HRESULT FileObject::Uncache(DWORD connection) {
  for (auto it = cache_.begin(); it != cache_.end(); ++it) {
    if (it->data.dwConnection != connection) continue;
    DeleteIconPicture(it->picture);
    cache_.erase(it);
    markChanged();
    return S_OK;
  }
  return OLE_E_NOCACHE;
}

HRESULT FileObject::EnumCache(IEnumSTATDATA** out) {
  if (out == nullptr) return E_POINTER;
  std::vector<STATDATA> items;
  for (const CacheEntry& entry : cache_) items.push_back(entry.data);
  *out = new StatList(std::move(items));
  return S_OK;
}

HRESULT FileObject::SetData(const FORMATETC* format, STGMEDIUM* medium, bool release) {
  if (format == nullptr || medium == nullptr) return E_POINTER;
  if (!isIconFormat(format) || medium->tymed != TYMED_MFPICT || !medium->hMetaFilePict)
    return DV_E_FORMATETC;
  CacheEntry* entry = iconEntry();
  if (entry == nullptr) {
    FORMATETC icon = *format;
    Cache(&icon, ADVF_NODATA, nullptr);
    entry = &cache_.back();
  }
  DeleteIconPicture(entry->picture);
  entry->picture = copyIconPicture(medium->hMetaFilePict);
  if (release) DeleteIconPicture(std::exchange(medium->hMetaFilePict, nullptr));
  markChanged();
  return S_OK;
}

FileObject::CacheEntry* FileObject::iconEntry() {
  for (CacheEntry& entry : cache_) {
    if (entry.data.formatetc.dwAspect == DVASPECT_ICON) return &entry;
  }
  return nullptr;
}

QImage FileObject::iconPicture() {
  if (CacheEntry* entry = iconEntry(); entry && entry->picture && entry->picture->hMF)
    return *entry->picture->hMF;
  return iconWithLabel(fileTypeIcon(label(), 32), label());
}

QImage FileObject::contentPicture() {
  if (!contentLoaded_) {
    content_ = isPictureFileName(label()) ? readContentImage() : QImage();
    contentLoaded_ = true;
  }
  if (!content_.isNull()) return content_;
  return cardPicture(fileTypeIcon(label(), 32), label(), shortTypeName(), fileSize());
}

void FileObject::markChanged() {
  changed_ = true;
  if (onChange_) onChange_(true);
}

void FileObject::refreshPictures() {
  contentLoaded_ = false;
  content_ = QImage();
  if (onChange_) onChange_(false);
}

}  // namespace ole
