#pragma once
// The embedded-file server ("Package"): holds a file's name and bytes in the entry. Its verbs
// are "Open" (primary: a private temporary copy opened with the desktop's application for its
// type, never a file that would run code) and "Save Copy As...".

#include "platform/ole/FileObject.h"

namespace ole {

class PackageObject final : public FileObject {
 public:
  explicit PackageObject(PackageContent content);

  // A package of the file at path; none with error set when it cannot be read.
  static ComPtr<PackageObject> fromFile(const QString& path, QString& error);
  // The package a document's layout holds; none with error set when it is not sound.
  static ComPtr<PackageObject> fromLayout(const Ole1Object& layout, QString& error);

  bool isLink() const override { return false; }
  QString label() const override { return content_.label; }
  QString fullTypeName() const override { return QStringLiteral("Package"); }
  QString shortTypeName() const override { return QStringLiteral("Packaged file"); }
  CLSID classId() const override { return CLSID_Package; }
  std::vector<Verb> verbs() const override;
  Ole1Object layout() const override;
  qint64 fileSize() const override { return content_.bytes.size(); }
  const PackageContent& content() const { return content_; }

 protected:
  HRESULT runVerb(LONG verb, HWND parent) override;
  QImage readContentImage() const override { return pictureOfBytes(content_.bytes); }

 private:
  HRESULT open(HWND parent);
  HRESULT saveCopy(HWND parent, const QString& why);

  PackageContent content_;
};

}  // namespace ole
