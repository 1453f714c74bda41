#include "platform/ole/LinkedFileObject.h"

#include <QDir>
#include <QFileInfo>

#include "platform/ole/ErrorInfo.h"
#include "platform/ole/FileSafety.h"
#include "platform/ole/Moniker.h"
#include "platform/ole/ObjectShell.h"
#include "platform/ole/TaskMemory.h"

namespace ole {

namespace {

constexpr LONG kVerbOpenFolder = 1;

// Why a path cannot be linked to, or empty when it can.
QString whyNotLinkable(const QString& path) {
  const QFileInfo info(path);
  if (path.isEmpty() || !info.exists())
    return QStringLiteral("The file %1 does not exist.").arg(path);
  if (info.isDir()) return QStringLiteral("%1 is a folder; a link names a file.").arg(path);
  return {};
}

}  // namespace

LinkedFileObject::LinkedFileObject(QString path, DWORD updateOptions)
    : path_(std::move(path)), updateOptions_(updateOptions) {
  readFileState();
}

ComPtr<LinkedFileObject> LinkedFileObject::toFile(const QString& path, QString& error) {
  error = whyNotLinkable(path);
  if (!error.isEmpty()) return {};
  return make<LinkedFileObject>(QFileInfo(path).absoluteFilePath(), OLEUPDATE_ALWAYS);
}

ComPtr<LinkedFileObject> LinkedFileObject::fromLayout(const Ole1Object& layout, QString& error) {
  if (layout.format != kFormatLinked || layout.topic.isEmpty()) {
    error = QStringLiteral("The object is not a link to a file.");
    return {};
  }
  const DWORD options =
      layout.updateOption == OLEUPDATE_ONCALL ? OLEUPDATE_ONCALL : OLEUPDATE_ALWAYS;
  return make<LinkedFileObject>(QString::fromUtf8(layout.topic), options);
}

HRESULT LinkedFileObject::QueryInterface(Iid iid, void** out) {
  if (iid == Iid::OleLink) return handOut(static_cast<IOleLink*>(this), out);
  return FileObject::QueryInterface(iid, out);
}

void LinkedFileObject::readFileState() {
  const QFileInfo info(path_);
  exists_ = info.exists() && info.isFile();
  size_ = exists_ ? info.size() : -1;
  modified_ = exists_ ? info.lastModified() : QDateTime();
}

HRESULT LinkedFileObject::Update() {
  readFileState();
  return FileObject::Update();
}

HRESULT LinkedFileObject::SetUpdateOptions(DWORD options) {
  if (options != OLEUPDATE_ALWAYS && options != OLEUPDATE_ONCALL) return E_INVALIDARG;
  if (options != updateOptions_) {
    updateOptions_ = options;
    markChanged();
  }
  return S_OK;
}

HRESULT LinkedFileObject::GetUpdateOptions(DWORD* options) {
  if (options == nullptr) return E_POINTER;
  *options = updateOptions_;
  return S_OK;
}

HRESULT LinkedFileObject::GetSourceMoniker(IMoniker** moniker) {
  return CreateFileMoniker(path_, moniker);
}

HRESULT LinkedFileObject::SetSourceDisplayName(const char16_t* name) {
  if (name == nullptr) return E_POINTER;
  const QString path = QString::fromUtf16(name);
  if (const QString why = whyNotLinkable(path); !why.isEmpty()) {
    setErrorInfo(why);
    return MK_E_NOOBJECT;
  }
  path_ = QFileInfo(path).absoluteFilePath();
  readFileState();
  markChanged();
  return S_OK;
}

HRESULT LinkedFileObject::GetSourceDisplayName(char16_t** name) {
  if (name == nullptr) return E_POINTER;
  *name = taskStringCopy(path_);
  return *name ? S_OK : E_OUTOFMEMORY;
}

QString LinkedFileObject::label() const {
  return QFileInfo(path_).fileName();
}

std::vector<FileObject::Verb> LinkedFileObject::verbs() const {
  return {{OLEIVERB_PRIMARY, QStringLiteral("&Open")},
          {kVerbOpenFolder, QStringLiteral("Open Containing &Folder")}};
}

Ole1Object LinkedFileObject::layout() const {
  Ole1Object layout;
  layout.format = kFormatLinked;
  layout.className = "Package";
  layout.topic = path_.toUtf8();
  layout.updateOption = updateOptions_;
  return layout;
}

HRESULT LinkedFileObject::runVerb(LONG verb, HWND parent) {
  // An automatic link is brought up to date whenever it is used.
  if (updateOptions_ == OLEUPDATE_ALWAYS) Update();
  if (verb == kVerbOpenFolder) {
    if (!QFileInfo(path_).absoluteDir().exists()) {
      setErrorInfo(QStringLiteral("The folder of %1 no longer exists.").arg(path_));
      return E_FAIL;
    }
    if (!objectShell().openFolder(path_)) {
      setErrorInfo(QStringLiteral("The folder of %1 could not be shown.").arg(path_));
      return E_FAIL;
    }
    return S_OK;
  }
  if (const QString why = whyNotLinkable(path_); !why.isEmpty()) {
    setErrorInfo(QStringLiteral("The linked file cannot be opened. %1").arg(why));
    return MK_E_NOOBJECT;
  }
  if (const QString refused = whyNotOpenedOnDisk(path_); !refused.isEmpty()) {
    objectShell().showMessage(parent, refused);
    return S_OK;  // told, and nothing run: not a failure of the verb
  }
  if (!objectShell().openFile(path_)) {
    setErrorInfo(QStringLiteral("No application could be started to open %1.").arg(path_));
    return E_FAIL;
  }
  return S_OK;
}

}  // namespace ole
