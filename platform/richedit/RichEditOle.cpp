#include "platform/richedit/RichEditOle.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>

#include "platform/ole/ErrorInfo.h"
#include "platform/ole/LinkedFileObject.h"
#include "platform/ole/ObjectShell.h"
#include "platform/ole/PackageObject.h"
#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"
#include "platform/richedit/rtf/RtfObject.h"

namespace richedit {

namespace {

bool isObjectFormat(const QTextFormat& format) {
  return format.isImageFormat() &&
         format.stringProperty(fmt::PictureKind) == QLatin1String("object");
}

// The container's side of an object: where it lies.
class ClientSite final : public ole::IOleClientSite {
 public:
  ClientSite(QWidget* window, std::function<HRESULT(bool)> inPlace)
      : window_(window), inPlace_(std::move(inPlace)) {}
  HRESULT QueryInterface(ole::Iid iid, void** out) override {
    return ole::handOut(iid == ole::Iid::Unknown || iid == ole::Iid::OleClientSite ? this : nullptr,
                        out);
  }
  HRESULT SaveObject() override { return S_OK; }  // saved with the entry's text
  ole::HWND ContainerWindow() override { return window_; }
  HRESULT OnInPlaceActivate() override { return inPlace_(true); }
  HRESULT OnInPlaceDeactivate() override { return inPlace_(false); }
  OLE_IMPLEMENT_REFCOUNT()

 private:
  QWidget* window_;
  std::function<HRESULT(bool)> inPlace_;
};

// The live object a document's layout describes, or none (another class, or damaged data).
ole::ComPtr<ole::FileObject> objectOfGroup(const rtf::ObjectGroup& group) {
  if (!group.hasData) return {};
  const ole::LayoutResult layout = ole::readOle1Object(group.data);
  if (!layout.object) return {};
  QString error;
  if (group.linked && layout.object->format == ole::kFormatLinked)
    return ole::LinkedFileObject::fromLayout(*layout.object, error);
  if (!group.linked && layout.object->className == "Package")
    return ole::PackageObject::fromLayout(*layout.object, error);
  return {};
}

std::uint32_t defaultAspect(const ole::FileObject& object) {
  return object.isLink() && ole::isPictureFileName(object.label()) ? ole::DVASPECT_CONTENT
                                                                   : ole::DVASPECT_ICON;
}

}  // namespace

namespace {
constexpr char kObjectsProperty[] = "klbObjects";
}

RichEditOle* objectsOf(const QTextDocument& doc) {
  return static_cast<RichEditOle*>(doc.property(kObjectsProperty).value<void*>());
}

void shareObjects(const QTextDocument& from, QTextDocument& to) {
  to.setProperty(kObjectsProperty, from.property(kObjectsProperty));
}

RichEditOle::RichEditOle(RichEditEngine& engine, QTextDocument& doc)
    : QObject(&doc), engine_(engine), doc_(doc) {
  doc.setProperty(kObjectsProperty, QVariant::fromValue<void*>(this));
}

RichEditOle::~RichEditOle() {
  doc_.setProperty(kObjectsProperty, QVariant());
}

HRESULT RichEditOle::QueryInterface(ole::Iid iid, void** out) {
  return ole::handOut(iid == ole::Iid::Unknown || iid == ole::Iid::RichEditOle
                          ? static_cast<IRichEditOle*>(this)
                          : nullptr,
                      out);
}

HRESULT RichEditOle::SetHostNames(const char* containerApp, const char* containerObject) {
  if (containerApp == nullptr) return E_INVALIDARG;
  hostApp_ = containerApp;
  hostObject_ = containerObject != nullptr ? containerObject : "";
  for (auto& [name, entry] : entries_) {
    if (entry.object) entry.object->SetHostNames(hostApp_.c_str(), hostObject_.c_str());
  }
  return S_OK;
}

RichEditOle::Entry* RichEditOle::entryFor(const QTextImageFormat& format, int pos) {
  if (!isObjectFormat(format)) return nullptr;
  auto found = entries_.find(format.name());
  if (found != entries_.end()) return &found->second;
  // Read from RTF and not seen before: made live now when it is an object this program serves.
  Entry& entry = entries_[format.name()];
  entry.at = QTextCursor(&doc_);
  entry.at.setPosition(std::clamp(pos, 0, doc_.characterCount() - 1));
  const rtf::ObjectGroup group =
      rtf::readObjectGroup(format.property(fmt::PictureSource).toByteArray());
  if (ole::ComPtr<ole::FileObject> object = objectOfGroup(group)) {
    makeLive(entry, object);
    if (group.view == "content") entry.aspect = ole::DVASPECT_CONTENT;
    if (group.view == "icon") entry.aspect = ole::DVASPECT_ICON;
  }
  return &entry;
}

RichEditOle::Entry* RichEditOle::makeLive(Entry& entry, ole::ComPtr<ole::FileObject> object) {
  // Every new object gets storage from the host; one it cannot have stays bytes only.
  ole::ComPtr<ole::IStorage> storage;
  if (callback_ && ole::FAILED(callback_->GetNewStorage(storage.put()))) return nullptr;
  entry.object = object;
  entry.storage = storage;
  Entry* self = &entry;
  entry.site = ole::ComPtr<ole::IOleClientSite>::attach(
      new ClientSite(&engine_.view(), [this, self](bool on) { return setInPlace(*self, on); }));
  entry.aspect = defaultAspect(*object.get());
  object->SetClientSite(entry.site.get());
  if (!hostApp_.empty()) object->SetHostNames(hostApp_.c_str(), hostObject_.c_str());
  if (storage) storage->WriteStream(QStringLiteral("\1Ole10Native"), object->layout().native);
  QTextCursor* at = &entry.at;
  object->setChangeHandler([this, at](bool kept) {
    redraw(at->position());
    if (kept) engine_.objectChanged();
  });
  return &entry;
}

ole::FileObject* RichEditOle::objectOf(const QTextImageFormat& format, int pos) {
  Entry* entry = entryFor(format, pos);
  return entry ? entry->object.get() : nullptr;
}

QImage RichEditOle::presentation(const QTextImageFormat& format, int pos) {
  Entry* entry = entryFor(format, pos);
  if (entry == nullptr || !entry->object) return {};
  return entry->aspect == ole::DVASPECT_ICON ? entry->object->iconPicture()
                                             : entry->object->contentPicture();
}

QByteArray RichEditOle::groupToWrite(const QTextImageFormat& format) {
  const auto found = entries_.find(format.name());
  if (found == entries_.end() || !found->second.object) return {};
  Entry& entry = found->second;
  const bool fresh = format.property(fmt::PictureSource).toByteArray().isEmpty();
  if (!fresh && !entry.object->changed() && !entry.aspectChanged) return {};
  const ole::Ole1Object layout = entry.object->layout();
  rtf::ObjectToWrite out;
  out.linked = entry.object->isLink();
  out.className = layout.className;
  out.data = ole::writeOle1Object(layout);
  out.iconView = entry.aspect == ole::DVASPECT_ICON;
  out.result = out.iconView ? entry.object->iconPicture() : entry.object->contentPicture();
  return rtf::writeObjectGroup(out);
}

QTextImageFormat RichEditOle::formatFor(ole::ComPtr<ole::FileObject> object, int pos,
                                        QString& error) {
  QTextImageFormat format;
  format.setName(QStringLiteral("klb-object:%1:%2").arg(quintptr(this), 0, 16).arg(++serial_));
  format.setProperty(fmt::PictureKind, QStringLiteral("object"));
  Entry& entry = entries_[format.name()];
  entry.at = QTextCursor(&doc_);
  entry.at.setPosition(std::clamp(pos, 0, doc_.characterCount() - 1));
  entry.present = false;  // until its character is in the text
  ole::CLSID clsid = object->classId();
  if (!makeLive(entry, object)) {
    error = QStringLiteral("There is no room for a new object in this entry.");
  } else if (callback_ && callback_->QueryInsertObject(&clsid, entry.storage.get(), pos) != S_OK) {
    error = QStringLiteral("The object was not accepted here.");
  }
  if (!error.isEmpty()) {
    entries_.erase(format.name());
    return {};
  }
  entry.present = true;
  const QImage shown =
      entry.aspect == ole::DVASPECT_ICON ? object->iconPicture() : object->contentPicture();
  format.setWidth(shown.width());
  format.setHeight(shown.height());
  // The group is made now, so that every copy of the character (clipboard, undo) carries it.
  format.setProperty(fmt::PictureSource, groupToWrite(format));
  return format;
}

std::vector<std::pair<int, QTextImageFormat>> RichEditOle::liveObjects() {
  std::vector<std::pair<int, QTextImageFormat>> found;
  for (QTextBlock block = doc_.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      if (!isObjectFormat(format)) continue;
      for (int i = 0; i < fragment.length(); ++i) {
        const int pos = fragment.position() + i;
        const QTextImageFormat image = format.toImageFormat();
        if (Entry* entry = entryFor(image, pos); entry && entry->object) {
          entry->at.setPosition(pos);
          found.emplace_back(pos, image);
        }
      }
    }
  }
  return found;
}

std::int32_t RichEditOle::GetObjectCount() {
  return std::int32_t(liveObjects().size());
}

std::int32_t RichEditOle::GetLinkCount() {
  std::int32_t links = 0;
  for (const auto& [pos, format] : liveObjects()) {
    if (entries_[format.name()].object->isLink()) ++links;
  }
  return links;
}

std::pair<int, RichEditOle::Entry*> RichEditOle::selected() {
  const QTextCursor sel = engine_.cursor();
  if (sel.selectionEnd() - sel.selectionStart() != 1) return {-1, nullptr};
  const int pos = sel.selectionStart();
  QTextCursor one(&doc_);
  one.setPosition(pos + 1);
  const QTextImageFormat format = one.charFormat().toImageFormat();
  Entry* entry = entryFor(format, pos);
  return {pos, entry && entry->object ? entry : nullptr};
}

std::pair<int, RichEditOle::Entry*> RichEditOle::byIndex(std::int32_t index, std::int32_t cp) {
  if (index == REO_IOB_SELECTION) return selected();
  const auto objects = liveObjects();
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const bool wanted = index == REO_IOB_USE_CP ? objects[i].first == cp : std::int32_t(i) == index;
    if (wanted) return {objects[i].first, &entries_[objects[i].second.name()]};
  }
  return {-1, nullptr};
}

void RichEditOle::fill(REOBJECT& record, int pos, Entry& entry, std::uint32_t flags) {
  record.cp = pos;
  record.clsid = entry.object->classId();
  record.dvaspect = entry.aspect;
  record.dwFlags = REO_RESIZABLE | (entry.object->isLink() ? REO_LINK : 0) |
                   (entry.inPlaceActive ? REO_INPLACEACTIVE : 0);
  record.sizel = {};
  record.poleobj = nullptr;
  record.pstg = nullptr;
  record.polesite = nullptr;
  if (flags & REO_GETOBJ_POLEOBJ) {
    record.poleobj = entry.object.get();
    record.poleobj->AddRef();
  }
  if ((flags & REO_GETOBJ_PSTG) && entry.storage) {
    record.pstg = entry.storage.get();
    record.pstg->AddRef();
  }
  if ((flags & REO_GETOBJ_POLESITE) && entry.site) {
    record.polesite = entry.site.get();
    record.polesite->AddRef();
  }
}

HRESULT RichEditOle::GetObject(std::int32_t index, REOBJECT* record, std::uint32_t flags) {
  if (record == nullptr || record->cbStruct != sizeof(REOBJECT)) return E_INVALIDARG;
  const auto [pos, entry] = byIndex(index, record->cp);
  if (entry == nullptr) return E_INVALIDARG;
  fill(*record, pos, *entry, flags);
  return S_OK;
}

HRESULT RichEditOle::InsertObject(REOBJECT* record) {
  if (record == nullptr || record->poleobj == nullptr) return E_INVALIDARG;
  ole::ComPtr<ole::FileObject> object(dynamic_cast<ole::FileObject*>(record->poleobj));
  if (!object) return E_INVALIDARG;  // only the servers of this platform live in the text
  return engine_.insertObject(object, record->cp) ? S_OK : E_FAIL;
}

// An object edited inside the text: the host gives its frame and hides its own interface
// while it is, and gets it back after.
HRESULT RichEditOle::setInPlace(Entry& entry, bool on) {
  if (on == entry.inPlaceActive) return S_OK;
  if (on) {
    if (callback_ == nullptr) return E_NOTIMPL;
    void* frame = nullptr;
    void* document = nullptr;
    const HRESULT context = callback_->GetInPlaceContext(&frame, &document, nullptr);
    if (ole::FAILED(context)) return context;  // not inside this control: it opens outside
    entry.inPlaceActive = true;
    callback_->ShowContainerUI(false);
    return S_OK;
  }
  entry.inPlaceActive = false;
  if (callback_) callback_->ShowContainerUI(true);
  return S_OK;
}

HRESULT RichEditOle::InPlaceDeactivate() {
  for (auto& [name, entry] : entries_) {
    if (entry.inPlaceActive) setInPlace(entry, false);
  }
  return S_OK;
}

HRESULT RichEditOle::SetDvaspect(std::int32_t index, std::uint32_t aspect) {
  if (aspect != ole::DVASPECT_CONTENT && aspect != ole::DVASPECT_ICON) return E_INVALIDARG;
  const auto [pos, entry] = byIndex(index, -1);
  if (entry == nullptr) return E_INVALIDARG;
  if (entry->aspect == aspect) return S_OK;
  entry->aspect = aspect;
  entry->aspectChanged = true;
  redraw(pos);
  engine_.objectChanged();
  return S_OK;
}

void RichEditOle::redraw(int pos) {
  if (pos < 0 || pos >= doc_.characterCount()) return;
  doc_.markContentsDirty(pos, 1);
}

// Whether the object's character is where its cursor says, or just before (a cursor at the
// place of an insertion moves past what was inserted); the cursor is put back on it.
bool RichEditOle::stillThere(const QString& name, Entry& entry) {
  const int pos = entry.at.position();
  for (const int at : {pos, pos - 1}) {
    if (at < 0 || at + 1 >= doc_.characterCount()) continue;
    QTextCursor one(&doc_);
    one.setPosition(at + 1);
    if (one.charFormat().toImageFormat().name() == name) {
      entry.at.setPosition(at);
      return true;
    }
  }
  return false;
}

void RichEditOle::contentsChanged(int removed) {
  if (entries_.empty()) return;
  for (auto& [name, entry] : entries_) {
    if (!entry.object) continue;
    const bool there = stillThere(name, entry);
    if (entry.present && !there && removed > 0) {
      entry.present = false;
      entry.inPlaceActive = false;
      if (callback_) callback_->DeleteObject(entry.object.get());
    } else if (!entry.present && there) {
      entry.present = true;  // back by undo
    }
  }
}

void RichEditOle::forgetAll() {
  entries_.clear();
}

void RichEditOle::activate(int pos) {
  QTextCursor one(&doc_);
  one.setPosition(pos + 1);
  Entry* entry = entryFor(one.charFormat().toImageFormat(), pos);
  if (entry == nullptr || !entry->object) return;
  const QRect r = engine_.view().viewport()->rect();
  const ole::RECT rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  const HRESULT hr = entry->object->DoVerb(ole::OLEIVERB_PRIMARY, nullptr, entry->site.get(), 0,
                                           &engine_.view(), &rect);
  if (ole::FAILED(hr)) ole::objectShell().showMessage(&engine_.view(), ole::messageOf(hr));
}

}  // namespace richedit
