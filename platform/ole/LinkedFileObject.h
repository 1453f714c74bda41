#pragma once
// The linked-file server: holds the path of a file that stays where it lies. Its verbs are
// "Open" (primary: the file where it lies, never one that would run code) and "Open Containing
// Folder"; it updates automatically or on request, and Update reads the file's size and time
// again. A missing file is shown as missing, never an error that stops the entry.

#include <QDateTime>

#include "platform/ole/FileObject.h"

namespace ole {

class LinkedFileObject final : public FileObject, public IOleLink {
 public:
  LinkedFileObject(QString path, DWORD updateOptions);

  // A link to the file at path; none with error set when it is missing or a folder.
  static ComPtr<LinkedFileObject> toFile(const QString& path, QString& error);
  // The link a document's layout holds (the file need not exist); none when not sound.
  static ComPtr<LinkedFileObject> fromLayout(const Ole1Object& layout, QString& error);

  HRESULT QueryInterface(Iid iid, void** out) override;
  ULONG AddRef() override { return FileObject::AddRef(); }
  ULONG Release() override { return FileObject::Release(); }

  // IOleObject: reads the file's size and time again.
  HRESULT Update() override;

  // IOleLink
  HRESULT SetUpdateOptions(DWORD options) override;
  HRESULT GetUpdateOptions(DWORD* options) override;
  HRESULT GetSourceMoniker(IMoniker** moniker) override;
  HRESULT SetSourceDisplayName(const char16_t* name) override;
  HRESULT GetSourceDisplayName(char16_t** name) override;

  bool isLink() const override { return true; }
  QString label() const override;
  QString fullTypeName() const override { return QStringLiteral("Linked file"); }
  QString shortTypeName() const override { return QStringLiteral("Link"); }
  CLSID classId() const override { return CLSID_LinkedFile; }
  std::vector<Verb> verbs() const override;
  Ole1Object layout() const override;
  qint64 fileSize() const override { return exists_ ? size_ : -1; }
  const QString& path() const { return path_; }
  bool sourceExists() const { return exists_; }
  QDateTime lastModified() const { return modified_; }

 protected:
  HRESULT runVerb(LONG verb, HWND parent) override;
  QImage readContentImage() const override { return pictureOfFile(path_); }

 private:
  void readFileState();

  QString path_;
  DWORD updateOptions_;
  bool exists_ = false;
  qint64 size_ = -1;
  QDateTime modified_;
};

}  // namespace ole
