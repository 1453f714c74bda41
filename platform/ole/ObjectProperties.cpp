#include "platform/ole/ObjectProperties.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "platform/ole/TaskMemory.h"

namespace ole {

namespace {

PropertiesDriver& driver() {
  static PropertiesDriver installed;
  return installed;
}

// The text of a task string handed out by an information object, which is then freed.
QString takeAnsi(char* text) {
  if (text == nullptr) return {};
  const QString result = QString::fromUtf8(text);
  CoTaskMemFree(text);
  return result;
}

QLabel* selectableLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

}  // namespace

ObjectPropertiesSheet::ObjectPropertiesSheet(OLEUIOBJECTPROPS& props, QWidget* parent)
    : QDialog(parent), props_(props) {
  setWindowTitle(props.lpPS && props.lpPS->pszCaption ? QString::fromUtf8(props.lpPS->pszCaption)
                                                      : QString());
  pages_ = new QTabWidget(this);
  pages_->addTab(makeGeneralPage(), QStringLiteral("General"));
  pages_->addTab(makeViewPage(), QStringLiteral("View"));
  if ((props.dwFlags & OPF_OBJECTISLINK) && props.lpLinkInfo)
    pages_->addTab(makeLinkPage(), QStringLiteral("Link"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, [this] {
    applyView();
    accept();
  });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
  resize(420, 320);
}

ObjectPropertiesSheet::~ObjectPropertiesSheet() {
  DeleteIconPicture(picture_);
}

QWidget* ObjectPropertiesSheet::makeGeneralPage() {
  auto* page = new QWidget(this);
  auto* form = new QFormLayout(page);
  type_ = selectableLabel(page);
  size_ = selectableLabel(page);
  location_ = selectableLabel(page);
  DWORD size = 0;
  char *label = nullptr, *type = nullptr, *shortType = nullptr, *location = nullptr;
  if (SUCCEEDED(props_.lpObjInfo->GetObjectInfo(props_.dwObject, &size, &label, &type, &shortType,
                                                &location))) {
    type_->setText(takeAnsi(type));
    location_->setText(takeAnsi(location));
    takeAnsi(label);
    takeAnsi(shortType);
    size_->setText(size == 0xFFFFFFFFu ? QStringLiteral("Unknown")
                                       : QLocale().formattedDataSize(size));
  }
  form->addRow(QStringLiteral("Type:"), type_);
  form->addRow(QStringLiteral("Size:"), size_);
  form->addRow(QStringLiteral("Location:"), location_);
  return page;
}

QWidget* ObjectPropertiesSheet::makeViewPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  asContent_ = new QRadioButton(QStringLiteral("Display as &content"), page);
  asIcon_ = new QRadioButton(QStringLiteral("Display as &icon"), page);
  iconPreview_ = new QLabel(page);
  int scale = 0;
  if (SUCCEEDED(props_.lpObjInfo->GetViewInfo(props_.dwObject, &picture_, &aspect_, &scale))) {
    if (picture_ && picture_->hMF) iconPreview_->setPixmap(QPixmap::fromImage(*picture_->hMF));
  }
  (aspect_ == DVASPECT_ICON ? asIcon_ : asContent_)->setChecked(true);
  auto* row = new QHBoxLayout;
  auto* choices = new QVBoxLayout;
  choices->addWidget(asContent_);
  choices->addWidget(asIcon_);
  row->addLayout(choices);
  row->addWidget(iconPreview_);
  layout->addLayout(row);
  layout->addStretch();
  return page;
}

QWidget* ObjectPropertiesSheet::makeLinkPage() {
  auto* page = new QWidget(this);
  auto* layout = new QVBoxLayout(page);
  auto* form = new QFormLayout;
  source_ = selectableLabel(page);
  form->addRow(QStringLiteral("Source:"), source_);
  layout->addLayout(form);
  automatic_ = new QRadioButton(QStringLiteral("&Automatically"), page);
  manual_ = new QRadioButton(QStringLiteral("&Manually"), page);
  auto* update = new QHBoxLayout;
  update->addWidget(new QLabel(QStringLiteral("Update:"), page));
  update->addWidget(automatic_);
  update->addWidget(manual_);
  update->addStretch();
  layout->addLayout(update);
  IOleUILinkInfo* links = props_.lpLinkInfo;
  DWORD options = OLEUPDATE_ALWAYS;
  links->GetLinkUpdateOptions(props_.dwLink, &options);
  (options == OLEUPDATE_ONCALL ? manual_ : automatic_)->setChecked(true);
  // A choice of update is handed over as it is made.
  connect(automatic_, &QRadioButton::toggled, this, [this](bool on) {
    props_.lpLinkInfo->SetLinkUpdateOptions(props_.dwLink,
                                            on ? OLEUPDATE_ALWAYS : OLEUPDATE_ONCALL);
  });
  openSource_ = new QPushButton(QStringLiteral("&Open Source"), page);
  updateNow_ = new QPushButton(QStringLiteral("&Update Now"), page);
  changeSource_ = new QPushButton(QStringLiteral("C&hange Source..."), page);
  breakLink_ = new QPushButton(QStringLiteral("&Break Link"), page);
  breakLink_->setEnabled(!(props_.lpLP && (props_.lpLP->dwFlags & ELF_DISABLECANCELLINK)));
  connect(openSource_, &QPushButton::clicked, this,
          [this] { props_.lpLinkInfo->OpenLinkSource(props_.dwLink); });
  connect(updateNow_, &QPushButton::clicked, this, [this] {
    props_.lpLinkInfo->UpdateLink(props_.dwLink, 1, 0);
    readLinkSource();
  });
  connect(changeSource_, &QPushButton::clicked, this, [this] { changeSource(); });
  connect(breakLink_, &QPushButton::clicked, this,
          [this] { props_.lpLinkInfo->CancelLink(props_.dwLink); });
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {openSource_, updateNow_, changeSource_, breakLink_})
    buttons->addWidget(button);
  layout->addLayout(buttons);
  layout->addStretch();
  readLinkSource();
  return page;
}

void ObjectPropertiesSheet::readLinkSource() {
  char *name = nullptr, *full = nullptr, *shortType = nullptr;
  ULONG fileLength = 0;
  if (SUCCEEDED(props_.lpLinkInfo->GetLinkSource(props_.dwLink, &name, &fileLength, &full,
                                                 &shortType, nullptr, nullptr))) {
    const QString source = takeAnsi(name);
    source_->setText(source);
    source_->setToolTip(source.left(int(fileLength)));
  }
  takeAnsi(full);
  takeAnsi(shortType);
}

void ObjectPropertiesSheet::changeSource(const QString& given) {
  QString path = given;
  if (path.isEmpty()) {
    path = QFileDialog::getOpenFileName(this, QStringLiteral("Change Source"),
                                        QFileInfo(source_->text()).absolutePath());
    if (path.isEmpty()) return;
  }
  const QFileInfo info(path);
  const BOOL valid = info.exists() && info.isFile();
  QByteArray name = path.toUtf8();
  ULONG eaten = 0;
  if (SUCCEEDED(props_.lpLinkInfo->SetLinkSource(props_.dwLink, name.data(), ULONG(path.size()),
                                                 &eaten, valid)))
    readLinkSource();
}

void ObjectPropertiesSheet::applyView() {
  const DWORD chosen = asIcon_->isChecked() ? DVASPECT_ICON : DVASPECT_CONTENT;
  if (chosen == aspect_) return;
  if (SUCCEEDED(props_.lpObjInfo->SetViewInfo(props_.dwObject, picture_, chosen, 0, 0)))
    aspect_ = chosen;
}

UINT OleUIObjectPropertiesA(OLEUIOBJECTPROPS* props) {
  if (props == nullptr) return OLEUI_ERR_STRUCTURENULL;
  if (props->lpObjInfo == nullptr || props->lpPS == nullptr || props->lpGP == nullptr ||
      props->lpVP == nullptr ||
      ((props->dwFlags & OPF_OBJECTISLINK) && props->lpLinkInfo == nullptr))
    return OLEUI_ERR_STANDARDMIN;
  ObjectPropertiesSheet sheet(*props, static_cast<QWidget*>(props->lpPS->hwndParent));
  if (driver()) return driver()(sheet);
  return sheet.exec() == QDialog::Accepted ? OLEUI_OK : OLEUI_CANCEL;
}

void setPropertiesDriver(PropertiesDriver installed) {
  driver() = std::move(installed);
}

}  // namespace ole
