#include "editor/KlObjectProperties.h"

#include <QWidget>

#include "editor/KlCustomRichEdit.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/dialogs/Dialogs.h"
#include "platform/ole/ErrorInfo.h"
#include "platform/ole/TaskMemory.h"

namespace kl {

using namespace ole;

namespace {

// A result code the caller raises as an object-linking error.
void check(HRESULT hr) {
  if (FAILED(hr)) throw Exception(messageOf(hr).toStdString());
}

// Runs a step whose failure goes to the application's error report, not to the dialog.
template <typename Step>
void reportFailure(Step&& step) {
  try {
    step();
  } catch (const std::exception& failure) {
    Application().HandleException(failure);
  }
}

bool blank(const std::string& text) {
  return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

char* taskCopy(const std::string& text) {
  return taskAnsiCopy(QString::fromStdString(text));
}

void holdInterfaces(richedit::REOBJECT& record) {
  if (record.poleobj) record.poleobj->AddRef();
  if (record.polesite) record.polesite->AddRef();
  record.pstg = nullptr;
}

void releaseInterfaces(richedit::REOBJECT& record) {
  if (record.poleobj) record.poleobj->Release();
  if (record.polesite) record.polesite->Release();
  record.poleobj = nullptr;
  record.polesite = nullptr;
}

ole::RECT clientRect(TKlCustomRichEdit& control) {
  const QRect r = control.rect();
  return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

}  // namespace

void ShowLinkError(const std::string& text) {
  MessageRequest request;
  request.text = text;
  request.caption = "Link Properties";
  request.icon = MsgIcon::Error;
  Dialogs().MessageBox(request);
}

std::string ObjectTypeName(IOleObject* object, DWORD form) {
  if (object == nullptr) return {};
  char16_t* name = nullptr;
  if (FAILED(object->GetUserType(form, &name))) return {};
  return takeTaskString(name).toStdString();
}

HMETAFILEPICT ObjectIconPicture(IOleObject* object, DWORD aspect) {
  HMETAFILEPICT picture = nullptr;
  if (aspect == DVASPECT_ICON) {
    ComPtr<IDataObject> data = ComPtr<IOleObject>(object).as<IDataObject>(Iid::DataObject);
    if (data) {
      FORMATETC format{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
      STGMEDIUM medium;
      if (SUCCEEDED(data->GetData(&format, &medium))) picture = medium.hMetaFilePict;
    }
  }
  if (picture == nullptr) {
    CLSID clsid;
    check(object->GetUserClassID(&clsid));
    picture = OleGetIconOfClass(clsid, QString(), true);
  }
  return picture;
}

void FreeIconPicture(HMETAFILEPICT picture) {
  if (picture == nullptr) return;
  METAFILEPICT* locked = GlobalLock(picture);
  DeleteMetaFile(locked->hMF);
  GlobalUnlock(picture);
  GlobalFree(picture);
}

HRESULT SwitchObjectAspect(IOleObject* object, bool iconic, HMETAFILEPICT picture, DWORD& aspect) {
  const DWORD old = aspect;
  const DWORD wanted = iconic ? DVASPECT_ICON : DVASPECT_CONTENT;
  const DWORD advf = iconic ? ADVF_NODATA : ADVF_PRIMEFIRST;
  aspect = wanted;
  HRESULT result = S_OK;
  if (wanted != old || wanted == DVASPECT_ICON) {
    ComPtr<IOleCache> cache;
    result = object->QueryInterface(Iid::OleCache, reinterpret_cast<void**>(cache.put()));
    if (cache) {
      if (wanted != old) {
        FORMATETC format{0, nullptr, wanted, -1, TYMED_NULL};
        DWORD connection = 0;
        result = cache->Cache(&format, advf, &connection);
      }
      if (SUCCEEDED(result) && wanted == DVASPECT_ICON) {
        HMETAFILEPICT temporary = nullptr;
        if (picture == nullptr) {
          CLSID clsid;
          if (SUCCEEDED(object->GetUserClassID(&clsid)))
            temporary = OleGetIconOfClass(clsid, QString(), true);
        }
        FORMATETC format{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
        STGMEDIUM medium{TYMED_MFPICT, picture ? picture : temporary, nullptr};
        result = cache->SetData(&format, &medium, false);
        FreeIconPicture(temporary);
      }
      if (SUCCEEDED(result) && wanted != old) {
        ComPtr<IEnumSTATDATA> items;
        if (SUCCEEDED(cache->EnumCache(items.put())) && items) {
          std::vector<DWORD> stale;
          for (STATDATA item; items->Next(1, &item, nullptr) == S_OK;) {
            if (item.formatetc.dwAspect == old) stale.push_back(item.dwConnection);
          }
          for (DWORD connection : stale) cache->Uncache(connection);
        }
      }
    }
  }
  if (SUCCEEDED(result) && wanted != DVASPECT_ICON) object->Update();
  return result;
}

std::uint32_t FilePrefixLength(IMoniker* moniker) {
  if (moniker == nullptr) return 0;
  ComPtr<IMoniker> first(moniker);
  DWORD kind = MKSYS_NONE;
  if (SUCCEEDED(moniker->IsSystemMoniker(&kind)) && kind == MKSYS_GENERICCOMPOSITE) {
    ComPtr<IEnumMoniker> parts;
    IMoniker* part = nullptr;
    if (FAILED(moniker->Enum(true, parts.put())) || !parts ||
        parts->Next(1, &part, nullptr) != S_OK)
      return 0;
    first = ComPtr<IMoniker>::attach(part);
  }
  if (first->IsSystemMoniker(&kind) != S_OK || kind != MKSYS_FILEMONIKER) return 0;
  ComPtr<IBindCtx> context;
  if (FAILED(CreateBindCtx(0, context.put()))) return 0;
  char16_t* name = nullptr;
  if (FAILED(first->GetDisplayName(context.get(), nullptr, &name)) || name == nullptr) return 0;
  const auto length = std::uint32_t(std::char_traits<char16_t>::length(name));
  CoTaskMemFree(name);
  return length;
}

// ---- The object's information ---------------------------------------------------------------

TOleUIObjInfo::TOleUIObjInfo(TKlCustomRichEdit& control, const richedit::REOBJECT& record)
    : control_(control), record_(record) {
  holdInterfaces(record_);
}

TOleUIObjInfo::~TOleUIObjInfo() {
  releaseInterfaces(record_);
}

HRESULT TOleUIObjInfo::QueryInterface(Iid iid, void** out) {
  return handOut(iid == Iid::Unknown || iid == Iid::OleUIObjInfo ? this : nullptr, out);
}

HRESULT TOleUIObjInfo::GetObjectInfo(DWORD, DWORD* size, char** label, char** type,
                                     char** shortType, char** location) {
  const std::string full = ObjectTypeName(record_.poleobj, USERCLASSTYPE_FULL);
  if (size) *size = 0xFFFFFFFFu;
  if (label) *label = taskCopy(full);
  if (type) *type = taskCopy(full);
  if (shortType) *shortType = taskCopy(ObjectTypeName(record_.poleobj, USERCLASSTYPE_SHORT));
  if (location) {
    const std::string& appTitle = Application().Title();
    const std::string& title = control_.Title();
    *location = taskCopy(!blank(title) ? title + " - " + appTitle : appTitle);
  }
  return S_OK;
}

HRESULT TOleUIObjInfo::GetConvertInfo(DWORD, CLSID* classId, std::uint16_t*, CLSID*, CLSID**,
                                      UINT*) {
  if (classId) record_.poleobj->GetUserClassID(classId);
  return S_OK;
}

HRESULT TOleUIObjInfo::ConvertObject(DWORD, const CLSID&) {
  return E_NOTIMPL;
}

HRESULT TOleUIObjInfo::GetViewInfo(DWORD, HMETAFILEPICT* picture, DWORD* aspect, int* scale) {
  if (picture) *picture = ObjectIconPicture(record_.poleobj, record_.dvaspect);
  if (aspect) *aspect = record_.dvaspect;
  if (scale) *scale = 0;
  return S_OK;
}

HRESULT TOleUIObjInfo::SetViewInfo(DWORD, HMETAFILEPICT picture, DWORD aspect, int, BOOL) {
  richedit::IRichEditOle* objects = control_.RichEditOle();
  if (objects == nullptr) return E_NOTIMPL;
  bool iconic = record_.dvaspect == DVASPECT_ICON;
  if (aspect == DVASPECT_CONTENT) iconic = false;
  if (aspect == DVASPECT_ICON) iconic = true;
  objects->InPlaceDeactivate();
  const HRESULT result = SwitchObjectAspect(record_.poleobj, iconic, picture, record_.dvaspect);
  if (SUCCEEDED(result)) objects->SetDvaspect(richedit::REO_IOB_SELECTION, record_.dvaspect);
  return result;
}

// ---- The link's information -----------------------------------------------------------------

TOleUILinkInfo::TOleUILinkInfo(TKlCustomRichEdit& control, const richedit::REOBJECT& record)
    : control_(control), record_(record) {
  if (record.poleobj == nullptr ||
      FAILED(record.poleobj->QueryInterface(Iid::OleLink, reinterpret_cast<void**>(link_.put()))))
    throw Exception(messageOf(E_NOINTERFACE).toStdString());
  holdInterfaces(record_);
}

TOleUILinkInfo::~TOleUILinkInfo() {
  releaseInterfaces(record_);
}

HRESULT TOleUILinkInfo::QueryInterface(Iid iid, void** out) {
  return handOut(iid == Iid::Unknown || iid == Iid::OleUILinkInfo ? this : nullptr, out);
}

DWORD TOleUILinkInfo::GetNextLink(DWORD link) {
  // One link: the control stands for it.
  return link == 0 ? DWORD(reinterpret_cast<std::uintptr_t>(&control_) | 1) : 0;
}

HRESULT TOleUILinkInfo::SetLinkUpdateOptions(DWORD, DWORD options) {
  const HRESULT result = link_->SetUpdateOptions(options);
  if (SUCCEEDED(result)) control_.SetModified(true);
  return result;
}

HRESULT TOleUILinkInfo::GetLinkUpdateOptions(DWORD, DWORD* options) {
  return link_->GetUpdateOptions(options);
}

HRESULT TOleUILinkInfo::SetLinkSource(DWORD, char* displayName, ULONG, ULONG* eaten,
                                      BOOL validate) {
  if (!validate) {
    ShowLinkError("Cannot link to an invalid source.");
    return E_FAIL;
  }
  // As the platform's buffer of 256 code units holds it.
  const QString name = QString::fromUtf8(displayName ? displayName : "").left(255);
  if (FAILED(link_->SetSourceDisplayName(reinterpret_cast<const char16_t*>(name.utf16())))) {
    // The link says why (a file that does not exist, a folder) where it can.
    const QString why = takeErrorInfo();
    ShowLinkError(why.isEmpty() ? "Cannot link to an invalid source." : why.toStdString());
    return E_FAIL;
  }
  if (eaten) *eaten = ULONG(std::strlen(displayName ? displayName : ""));
  reportFailure([&] { check(record_.poleobj->Update()); });
  return S_OK;
}

HRESULT TOleUILinkInfo::GetLinkSource(DWORD, char** displayName, ULONG* fileNameLength,
                                      char** fullLinkType, char** shortLinkType, BOOL*, BOOL*) {
  if (displayName) {
    char16_t* name = nullptr;
    link_->GetSourceDisplayName(&name);
    *displayName = taskAnsiCopy(takeTaskString(name));
  }
  if (fileNameLength) {
    ComPtr<IMoniker> moniker;
    *fileNameLength = SUCCEEDED(link_->GetSourceMoniker(moniker.put())) && moniker
                          ? FilePrefixLength(moniker.get())
                          : 0;
  }
  if (fullLinkType) *fullLinkType = taskCopy(ObjectTypeName(record_.poleobj, USERCLASSTYPE_FULL));
  if (shortLinkType)
    *shortLinkType = taskCopy(ObjectTypeName(record_.poleobj, USERCLASSTYPE_SHORT));
  return S_OK;
}

HRESULT TOleUILinkInfo::OpenLinkSource(DWORD) {
  reportFailure([&] {
    const ole::RECT rect = clientRect(control_);
    check(record_.poleobj->DoVerb(OLEIVERB_SHOW, nullptr, record_.polesite, 0, &control_, &rect));
  });
  return S_OK;
}

HRESULT TOleUILinkInfo::UpdateLink(DWORD, BOOL, BOOL) {
  reportFailure([&] { check(record_.poleobj->Update()); });
  return S_OK;
}

HRESULT TOleUILinkInfo::CancelLink(DWORD) {
  ShowLinkError("Break link operation is not supported.");
  return E_NOTIMPL;
}

HRESULT TOleUILinkInfo::GetLastUpdate(DWORD, FILETIME*) {
  return S_OK;
}

}  // namespace kl

namespace kl {

bool TKlCustomRichEdit::ShowObjectProperties() {
  using namespace ole;
  if (!richEditOle_ || SelectionType() != TSelectionTypes{TSelectionType::stObject}) return false;
  OLEUIOBJECTPROPS props;
  PROPSHEETHEADER sheet;
  OLEUIGNRLPROPS general;
  OLEUIVIEWPROPS view;
  OLEUILINKPROPS link;
  richedit::REOBJECT record{};
  record.cbStruct = sizeof(richedit::REOBJECT);
  if (FAILED(richEditOle_->GetObject(richedit::REO_IOB_SELECTION, &record,
                                     richedit::REO_GETOBJ_POLEOBJ | richedit::REO_GETOBJ_POLESITE)))
    return false;
  const auto object = ComPtr<IOleObject>::attach(record.poleobj);
  const auto site = ComPtr<IOleClientSite>::attach(record.polesite);
  if (record.dwFlags & richedit::REO_INPLACEACTIVE) return false;
  const bool isLink = (record.dwFlags & richedit::REO_LINK) != 0;

  const auto objInfo = make<TOleUIObjInfo>(*this, record);
  ComPtr<TOleUILinkInfo> linkInfo;
  if (isLink) linkInfo = make<TOleUILinkInfo>(*this, record);
  props.cbStruct = sizeof(OLEUIOBJECTPROPS);
  props.dwFlags = OPF_DISABLECONVERT | (isLink ? OPF_OBJECTISLINK : 0);
  props.lpPS = &sheet;
  props.dwObject = 0;
  props.lpObjInfo = objInfo.get();
  props.dwLink = 0;
  props.lpLinkInfo = linkInfo.get();
  props.lpGP = &general;
  props.lpVP = &view;
  props.lpLP = &link;
  const std::string caption =
      QStringLiteral("%1 Properties")
          .arg(QString::fromStdString(ObjectTypeName(object.get(), USERCLASSTYPE_FULL)))
          .toStdString();
  sheet.dwSize = sizeof(PROPSHEETHEADER);
  sheet.hwndParent = Control();
  sheet.pszCaption = caption.c_str();
  general.cbStruct = sizeof(OLEUIGNRLPROPS);
  view.cbStruct = sizeof(OLEUIVIEWPROPS);
  view.dwFlags = VPF_DISABLESCALE;
  link.cbStruct = sizeof(OLEUILINKPROPS);
  link.dwFlags = ELF_DISABLECANCELLINK;
  return OleUIObjectPropertiesA(&props) == OLEUI_OK;
}

}  // namespace kl
