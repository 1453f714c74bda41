#pragma once
// The object-linking service's basic vocabulary: result codes, identifiers, display aspects,
// verbs, data formats and media, with the platform's numbers, so that the editor and the
// rich-edit control speak to objects exactly as they would to the platform's.

#include <QString>
#include <cstdint>
#include <cstring>

namespace ole {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT OLEOBJ_E_NOVERBS = static_cast<HRESULT>(0x80040180u);
constexpr HRESULT OLE_E_NOCACHE = static_cast<HRESULT>(0x80040006u);
constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064u);
constexpr HRESULT MK_E_NOOBJECT = static_cast<HRESULT>(0x800401E5u);
constexpr HRESULT MK_E_SYNTAX = static_cast<HRESULT>(0x800401E4u);
// The verb was refused on purpose (a file that would run code): nothing was opened.
constexpr HRESULT OLEOBJ_E_INVALIDVERB = static_cast<HRESULT>(0x80040181u);

inline bool SUCCEEDED(HRESULT hr) {
  return hr >= 0;
}
inline bool FAILED(HRESULT hr) {
  return hr < 0;
}

// The system's text for a result code, as an error box shows it.
QString messageOf(HRESULT hr);

// Which interface QueryInterface is asked for.
enum class Iid {
  Unknown,
  OleObject,
  DataObject,
  OleCache,
  OleLink,
  Moniker,
  EnumVerbs,
  EnumStatData,
  EnumMoniker,
  BindCtx,
  Storage,
  LockBytes,
  OleClientSite,
  RichEditOle,
  RichEditOleCallback,
  OleUIObjInfo,
  OleUILinkInfo,
};

// A 16-byte class identifier.
struct CLSID {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0, data3 = 0;
  std::uint8_t data4[8] = {};
  friend bool operator==(const CLSID& a, const CLSID& b) {
    return std::memcmp(&a, &b, sizeof(CLSID)) == 0;
  }
};
static_assert(sizeof(CLSID) == 16);

// The packager's class, {0003000C-0000-0000-C000-000000000046}, and this program's link class.
constexpr CLSID CLSID_Package{0x0003000C, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr CLSID CLSID_LinkedFile{0x6B6C6E6B, 0x4B4C, 0x0001, {0x80, 0, 0, 0, 0, 0, 0, 0x01}};

// Display aspects.
constexpr DWORD DVASPECT_CONTENT = 1;
constexpr DWORD DVASPECT_ICON = 4;

// Verbs.
constexpr LONG OLEIVERB_PRIMARY = 0;
constexpr LONG OLEIVERB_SHOW = -1;
constexpr LONG OLEIVERB_OPEN = -2;
constexpr DWORD OLEVERBATTRIB_ONCONTAINERMENU = 2;
constexpr DWORD MF_STRING = 0;

struct OLEVERB {
  LONG lVerb = 0;
  const char16_t* lpszVerbName = nullptr;  // task memory, freed by the receiver
  DWORD fuFlags = 0;
  DWORD grfAttribs = 0;
};

// User type names and closing.
constexpr DWORD USERCLASSTYPE_FULL = 1;
constexpr DWORD USERCLASSTYPE_SHORT = 2;
constexpr DWORD OLECLOSE_SAVEIFDIRTY = 0;
constexpr DWORD OLECLOSE_NOSAVE = 1;

// Data formats and media.
constexpr std::uint16_t CF_METAFILEPICT = 3;
constexpr DWORD TYMED_NULL = 0;
constexpr DWORD TYMED_HGLOBAL = 1;
constexpr DWORD TYMED_MFPICT = 32;
constexpr DWORD ADVF_NODATA = 1;
constexpr DWORD ADVF_PRIMEFIRST = 2;

struct DVTARGETDEVICE;

struct FORMATETC {
  std::uint16_t cfFormat = 0;
  DVTARGETDEVICE* ptd = nullptr;
  DWORD dwAspect = DVASPECT_CONTENT;
  LONG lindex = -1;
  DWORD tymed = TYMED_NULL;
};

class IUnknown;

// A metafile picture: the platform's handle to a drawn picture with its extents. Here the
// picture is an image; the handle is the record itself, made by the icon routines.
struct METAFILEPICT;
using HMETAFILEPICT = METAFILEPICT*;

struct STGMEDIUM {
  DWORD tymed = TYMED_NULL;
  HMETAFILEPICT hMetaFilePict = nullptr;
  IUnknown* pUnkForRelease = nullptr;
};

struct STATDATA {
  FORMATETC formatetc;
  DWORD advf = 0;
  void* pAdvSink = nullptr;
  DWORD dwConnection = 0;
};

// Link update options.
constexpr DWORD OLEUPDATE_ALWAYS = 1;
constexpr DWORD OLEUPDATE_ONCALL = 3;

// System moniker kinds.
constexpr DWORD MKSYS_NONE = 0;
constexpr DWORD MKSYS_GENERICCOMPOSITE = 1;
constexpr DWORD MKSYS_FILEMONIKER = 2;
constexpr DWORD MKSYS_ITEMMONIKER = 4;

// Storage modes.
constexpr DWORD STGM_READWRITE = 0x0002;
constexpr DWORD STGM_SHARE_EXCLUSIVE = 0x0010;
constexpr DWORD STGM_CREATE = 0x1000;

// A rectangle in a window's pixels.
struct RECT {
  LONG left = 0, top = 0, right = 0, bottom = 0;
};

}  // namespace ole
