#pragma once
// The object properties dialog's side in the editor: the two information objects the dialog
// asks about the selected object and its link, and the routines they use to switch an object
// between content and icon, find its icon picture and measure its link's file name.

#include <string>

#include "platform/ole/IconPicture.h"
#include "platform/ole/Moniker.h"
#include "platform/ole/ObjectProperties.h"
#include "platform/richedit/RichEditOle.h"

namespace kl {

class TKlCustomRichEdit;

// The error box of the Link page: the text, caption "Link Properties", the error icon.
void ShowLinkError(const std::string& text);
// Switches an object between content (iconic false) and icon display through its cache;
// aspect is the display it has and becomes the one it gets.
ole::HRESULT SwitchObjectAspect(ole::IOleObject* object, bool iconic, ole::HMETAFILEPICT picture,
                                ole::DWORD& aspect);
// The object's icon picture, from its data when it shows an icon, else its class's icon.
ole::HMETAFILEPICT ObjectIconPicture(ole::IOleObject* object, ole::DWORD aspect);
void FreeIconPicture(ole::HMETAFILEPICT picture);
// The length, in UTF-16 units, of the file part of a link source's name; 0 when none.
std::uint32_t FilePrefixLength(ole::IMoniker* moniker);
// The object's user type name (USERCLASSTYPE_FULL or _SHORT), empty when it gives none.
std::string ObjectTypeName(ole::IOleObject* object, ole::DWORD form);

// What the General and View pages ask about the selected object.
class TOleUIObjInfo final : public ole::IOleUIObjInfo {
 public:
  TOleUIObjInfo(TKlCustomRichEdit& control, const richedit::REOBJECT& record);
  ~TOleUIObjInfo() override;
  ole::HRESULT QueryInterface(ole::Iid iid, void** out) override;
  ole::HRESULT GetObjectInfo(ole::DWORD object, ole::DWORD* size, char** label, char** type,
                             char** shortType, char** location) override;
  ole::HRESULT GetConvertInfo(ole::DWORD object, ole::CLSID* classId, std::uint16_t* format,
                              ole::CLSID* convertDefault, ole::CLSID** exclude,
                              ole::UINT* excludeCount) override;
  ole::HRESULT ConvertObject(ole::DWORD object, const ole::CLSID& classId) override;
  ole::HRESULT GetViewInfo(ole::DWORD object, ole::HMETAFILEPICT* picture, ole::DWORD* aspect,
                           int* scale) override;
  ole::HRESULT SetViewInfo(ole::DWORD object, ole::HMETAFILEPICT picture, ole::DWORD aspect,
                           int scale, ole::BOOL relativeToOriginal) override;
  OLE_IMPLEMENT_REFCOUNT()

 private:
  TKlCustomRichEdit& control_;
  richedit::REOBJECT record_;  // holds a reference to its object and site
};

// What the Link page asks about the selected link. Made only for an object that has a link:
// the constructor throws when it has none.
class TOleUILinkInfo final : public ole::IOleUILinkInfo {
 public:
  TOleUILinkInfo(TKlCustomRichEdit& control, const richedit::REOBJECT& record);
  ~TOleUILinkInfo() override;
  ole::HRESULT QueryInterface(ole::Iid iid, void** out) override;
  ole::DWORD GetNextLink(ole::DWORD link) override;
  ole::HRESULT SetLinkUpdateOptions(ole::DWORD link, ole::DWORD options) override;
  ole::HRESULT GetLinkUpdateOptions(ole::DWORD link, ole::DWORD* options) override;
  ole::HRESULT SetLinkSource(ole::DWORD link, char* displayName, ole::ULONG fileNameLength,
                             ole::ULONG* eaten, ole::BOOL validate) override;
  ole::HRESULT GetLinkSource(ole::DWORD link, char** displayName, ole::ULONG* fileNameLength,
                             char** fullLinkType, char** shortLinkType, ole::BOOL* available,
                             ole::BOOL* selected) override;
  ole::HRESULT OpenLinkSource(ole::DWORD link) override;
  ole::HRESULT UpdateLink(ole::DWORD link, ole::BOOL errorMessage, ole::BOOL reserved) override;
  ole::HRESULT CancelLink(ole::DWORD link) override;
  ole::HRESULT GetLastUpdate(ole::DWORD link, ole::FILETIME* lastUpdate) override;
  OLE_IMPLEMENT_REFCOUNT()

 private:
  TKlCustomRichEdit& control_;
  richedit::REOBJECT record_;
  ole::ComPtr<ole::IOleLink> link_;
};

}  // namespace kl
