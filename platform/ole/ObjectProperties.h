#pragma once
// The object properties dialog: a property sheet with a General page (type, size, location), a
// View page (content or icon) and, for a link, a Link page (source, automatic or manual
// update, Open Source, Update Now, Change Source, Break Link). It learns and changes everything
// only through the two information objects its caller hands it.

#include <QDialog>
#include <functional>

#include "platform/ole/IconPicture.h"
#include "platform/ole/OleInterfaces.h"

class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace ole {

using UINT = std::uint32_t;
using BOOL = int;
struct FILETIME {
  DWORD low = 0, high = 0;
};

class IOleUIObjInfo : public IUnknown {
 public:
  virtual HRESULT GetObjectInfo(DWORD object, DWORD* size, char** label, char** type,
                                char** shortType, char** location) = 0;
  virtual HRESULT GetConvertInfo(DWORD object, CLSID* classId, std::uint16_t* format,
                                 CLSID* convertDefault, CLSID** exclude, UINT* excludeCount) = 0;
  virtual HRESULT ConvertObject(DWORD object, const CLSID& classId) = 0;
  virtual HRESULT GetViewInfo(DWORD object, HMETAFILEPICT* picture, DWORD* aspect, int* scale) = 0;
  virtual HRESULT SetViewInfo(DWORD object, HMETAFILEPICT picture, DWORD aspect, int scale,
                              BOOL relativeToOriginal) = 0;
};

class IOleUILinkInfo : public IUnknown {
 public:
  virtual DWORD GetNextLink(DWORD link) = 0;
  virtual HRESULT SetLinkUpdateOptions(DWORD link, DWORD options) = 0;
  virtual HRESULT GetLinkUpdateOptions(DWORD link, DWORD* options) = 0;
  virtual HRESULT SetLinkSource(DWORD link, char* displayName, ULONG fileNameLength, ULONG* eaten,
                                BOOL validate) = 0;
  virtual HRESULT GetLinkSource(DWORD link, char** displayName, ULONG* fileNameLength,
                                char** fullLinkType, char** shortLinkType, BOOL* available,
                                BOOL* selected) = 0;
  virtual HRESULT OpenLinkSource(DWORD link) = 0;
  virtual HRESULT UpdateLink(DWORD link, BOOL errorMessage, BOOL reserved) = 0;
  virtual HRESULT CancelLink(DWORD link) = 0;
  virtual HRESULT GetLastUpdate(DWORD link, FILETIME* lastUpdate) = 0;
};

struct OLEUIOBJECTPROPS;

struct PROPSHEETHEADER {
  DWORD dwSize = 0;
  DWORD dwFlags = 0;
  HWND hwndParent = nullptr;
  void* hInstance = nullptr;
  void* hIcon = nullptr;
  const char* pszCaption = nullptr;
  UINT nPages = 0;
  UINT nStartPage = 0;
  void* phpage = nullptr;
  void* pfnCallback = nullptr;
  void* hbmWatermark = nullptr;
  void* hplWatermark = nullptr;
  void* hbmHeader = nullptr;
};

struct OLEUIGNRLPROPS {
  DWORD cbStruct = 0;
  DWORD dwFlags = 0;
  DWORD dwReserved1[2] = {};
  void* lpfnHook = nullptr;
  std::intptr_t lCustData = 0;
  DWORD dwReserved2[3] = {};
  OLEUIOBJECTPROPS* lpOP = nullptr;
};

struct OLEUIVIEWPROPS {
  DWORD cbStruct = 0;
  DWORD dwFlags = 0;
  DWORD dwReserved1[2] = {};
  void* lpfnHook = nullptr;
  std::intptr_t lCustData = 0;
  DWORD dwReserved2[3] = {};
  OLEUIOBJECTPROPS* lpOP = nullptr;
  int nScaleMin = 0;
  int nScaleMax = 0;
};

struct OLEUILINKPROPS {
  DWORD cbStruct = 0;
  DWORD dwFlags = 0;
  DWORD dwReserved1[2] = {};
  void* lpfnHook = nullptr;
  std::intptr_t lCustData = 0;
  DWORD dwReserved2[3] = {};
  OLEUIOBJECTPROPS* lpOP = nullptr;
};

struct OLEUIOBJECTPROPS {
  DWORD cbStruct = 0;
  DWORD dwFlags = 0;
  PROPSHEETHEADER* lpPS = nullptr;
  DWORD dwObject = 0;
  IOleUIObjInfo* lpObjInfo = nullptr;
  DWORD dwLink = 0;
  IOleUILinkInfo* lpLinkInfo = nullptr;
  OLEUIGNRLPROPS* lpGP = nullptr;
  OLEUIVIEWPROPS* lpVP = nullptr;
  OLEUILINKPROPS* lpLP = nullptr;
};

// On the platform's 32-bit layout the records have these sizes.
static_assert(sizeof(void*) != 4 || sizeof(OLEUIOBJECTPROPS) == 40);
static_assert(sizeof(void*) != 4 || sizeof(PROPSHEETHEADER) == 52);
static_assert(sizeof(void*) != 4 || sizeof(OLEUIGNRLPROPS) == 40);
static_assert(sizeof(void*) != 4 || sizeof(OLEUIVIEWPROPS) == 48);
static_assert(sizeof(void*) != 4 || sizeof(OLEUILINKPROPS) == 40);

constexpr DWORD OPF_OBJECTISLINK = 1;
constexpr DWORD OPF_DISABLECONVERT = 8;
constexpr DWORD VPF_DISABLESCALE = 4;
constexpr DWORD ELF_DISABLECANCELLINK = 16;
constexpr UINT OLEUI_OK = 1;
constexpr UINT OLEUI_CANCEL = 2;
constexpr UINT OLEUI_ERR_STANDARDMIN = 100;
constexpr UINT OLEUI_ERR_STRUCTURENULL = 101;

// The sheet, its pages and their controls, as a person sees them.
class ObjectPropertiesSheet : public QDialog {
 public:
  explicit ObjectPropertiesSheet(OLEUIOBJECTPROPS& props, QWidget* parent);
  ~ObjectPropertiesSheet() override;

  QTabWidget* pages() const { return pages_; }
  QLabel* typeLabel() const { return type_; }
  QLabel* sizeLabel() const { return size_; }
  QLabel* locationLabel() const { return location_; }
  QRadioButton* asContent() const { return asContent_; }
  QRadioButton* asIcon() const { return asIcon_; }
  QLabel* sourceLabel() const { return source_; }
  QRadioButton* updateAutomatic() const { return automatic_; }
  QRadioButton* updateManual() const { return manual_; }
  QPushButton* openSourceButton() const { return openSource_; }
  QPushButton* updateNowButton() const { return updateNow_; }
  QPushButton* changeSourceButton() const { return changeSource_; }
  QPushButton* breakLinkButton() const { return breakLink_; }

  // Hands the view chosen over to the object information (done on OK).
  void applyView();
  // Asks for a new source and hands it over; a path given here skips the file dialog.
  void changeSource(const QString& path = {});

 private:
  QWidget* makeGeneralPage();
  QWidget* makeViewPage();
  QWidget* makeLinkPage();
  void readLinkSource();

  OLEUIOBJECTPROPS& props_;
  QTabWidget* pages_ = nullptr;
  QLabel* type_ = nullptr;
  QLabel* size_ = nullptr;
  QLabel* location_ = nullptr;
  QLabel* iconPreview_ = nullptr;
  QRadioButton* asContent_ = nullptr;
  QRadioButton* asIcon_ = nullptr;
  QLabel* source_ = nullptr;
  QRadioButton* automatic_ = nullptr;
  QRadioButton* manual_ = nullptr;
  QPushButton* openSource_ = nullptr;
  QPushButton* updateNow_ = nullptr;
  QPushButton* changeSource_ = nullptr;
  QPushButton* breakLink_ = nullptr;
  HMETAFILEPICT picture_ = nullptr;  // owned: the icon the View page shows
  DWORD aspect_ = DVASPECT_CONTENT;
};

// Shows the sheet modally; OLEUI_OK when closed with OK, OLEUI_CANCEL otherwise, an error
// number when the record is not sound.
UINT OleUIObjectPropertiesA(OLEUIOBJECTPROPS* props);

// Tests drive the sheet instead of a person: the driver gets the sheet ready built and answers
// what the person did (OLEUI_OK or OLEUI_CANCEL). None puts the person back.
using PropertiesDriver = std::function<UINT(ObjectPropertiesSheet&)>;
void setPropertiesDriver(PropertiesDriver driver);

}  // namespace ole
