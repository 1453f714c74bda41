#include "platform/ole/PackageObject.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/ole/ErrorInfo.h"
#include "platform/ole/FileSafety.h"
#include "platform/ole/ObjectShell.h"

namespace ole {

namespace {
constexpr LONG kVerbSaveCopy = 1;

HRESULT failWith(const QString& description, HRESULT hr = E_FAIL) {
  setErrorInfo(description);
  return hr;
}
}  // namespace

PackageObject::PackageObject(PackageContent content) : content_(std::move(content)) {}

ComPtr<PackageObject> PackageObject::fromFile(const QString& path, QString& error) {
  const QFileInfo info(path);
  if (!info.exists()) {
    error = QStringLiteral("The file %1 does not exist.").arg(path);
    return {};
  }
  if (info.isDir()) {
    error = QStringLiteral("%1 is a folder; only files can be put into an entry.").arg(path);
    return {};
  }
  if (info.size() > kMaxPackageBytes) {
    error = QStringLiteral("%1 is larger than %2 MB, more than an entry keeps; link to it instead.")
                .arg(path)
                .arg(kMaxPackageBytes / (1024 * 1024));
    return {};
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("%1 could not be read: %2").arg(path, file.errorString());
    return {};
  }
  PackageContent content;
  content.label = info.fileName();
  content.sourcePath = info.absoluteFilePath();
  content.bytes = file.readAll();
  if (file.error() != QFile::NoError) {
    error = QStringLiteral("%1 could not be read: %2").arg(path, file.errorString());
    return {};
  }
  return make<PackageObject>(std::move(content));
}

ComPtr<PackageObject> PackageObject::fromLayout(const Ole1Object& layout, QString& error) {
  if (layout.format != kFormatEmbedded || layout.className != "Package") {
    error = QStringLiteral("The object is not a packaged file.");
    return {};
  }
  PackageResult read = readPackageNative(layout.native);
  if (!read.content) {
    error = read.error;
    return {};
  }
  return make<PackageObject>(std::move(*read.content));
}

std::vector<FileObject::Verb> PackageObject::verbs() const {
  return {{OLEIVERB_PRIMARY, QStringLiteral("&Open")},
          {kVerbSaveCopy, QStringLiteral("Save Copy &As...")}};
}

Ole1Object PackageObject::layout() const {
  Ole1Object layout;
  layout.format = kFormatEmbedded;
  layout.className = "Package";
  layout.native = writePackageNative(content_);
  return layout;
}

HRESULT PackageObject::runVerb(LONG verb, HWND parent) {
  return verb == kVerbSaveCopy ? saveCopy(parent, {}) : open(parent);
}

HRESULT PackageObject::open(HWND parent) {
  const QString refused = whyNotOpened(
      content_.label,
      QByteArrayView(content_.bytes).first(std::min<qsizetype>(8, content_.bytes.size())), false);
  if (!refused.isEmpty()) return saveCopy(parent, refused);
  QString error;
  const QString copy = writePrivateCopy(content_.label, content_.bytes, error);
  if (copy.isEmpty()) return failWith(error);
  if (!objectShell().openFile(copy))
    return failWith(
        QStringLiteral("No application could be started to open %1.").arg(content_.label));
  return S_OK;
}

HRESULT PackageObject::saveCopy(HWND parent, const QString& why) {
  const QString path = objectShell().askSavePath(parent, safeFileName(content_.label), why);
  if (path.isEmpty()) return S_OK;  // the person changed their mind
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(content_.bytes) != content_.bytes.size() ||
      !file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                           QFile::ReadOther) ||
      !file.commit()) {
    return failWith(
        QStringLiteral("The copy %1 could not be saved: %2").arg(path, file.errorString()));
  }
  return S_OK;
}

}  // namespace ole
