// The two object servers as a person uses them: verbs, opening without ever running code,
// saving a copy, links that update, go missing or get a new source, and the cache behind the
// icon and content views.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/ole/ErrorInfo.h"
#include "platform/ole/FileSafety.h"
#include "platform/ole/LinkedFileObject.h"
#include "platform/ole/Moniker.h"
#include "platform/ole/PackageObject.h"
#include "platform/ole/TaskMemory.h"
#include "tests/platform/ole/ScriptedShell.h"

namespace ole {
namespace {

class FileServers : public ::testing::Test {
 protected:
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  static std::vector<std::pair<LONG, QString>> verbsOf(IOleObject* object) {
    std::vector<std::pair<LONG, QString>> verbs;
    ComPtr<IEnumOLEVERB> list;
    EXPECT_EQ(object->EnumVerbs(list.put()), S_OK);
    OLEVERB verb;
    while (list->Next(1, &verb, nullptr) == S_OK) {
      EXPECT_TRUE(verb.grfAttribs & OLEVERBATTRIB_ONCONTAINERMENU);
      verbs.emplace_back(verb.lVerb, takeTaskString(const_cast<char16_t*>(verb.lpszVerbName)));
    }
    return verbs;
  }
  static QString userType(IOleObject* object, DWORD form) {
    char16_t* name = nullptr;
    EXPECT_EQ(object->GetUserType(form, &name), S_OK);
    return takeTaskString(name);
  }

  QTemporaryDir dir_;
  test::ScriptedShell shell_;
};

TEST_F(FileServers, APackageOpensAPrivateCopyThatCannotRun) {
  QString error;
  ComPtr<PackageObject> package =
      PackageObject::fromFile(write(QStringLiteral("plan.txt"), "sit, stay, come"), error);
  ASSERT_TRUE(package) << error.toStdString();
  EXPECT_EQ(userType(package.get(), USERCLASSTYPE_FULL), QStringLiteral("Package"));
  EXPECT_EQ(userType(package.get(), USERCLASSTYPE_SHORT), QStringLiteral("Packaged file"));
  const auto verbs = verbsOf(package.get());
  ASSERT_EQ(verbs.size(), 2u);
  EXPECT_EQ(verbs[0], std::make_pair(OLEIVERB_PRIMARY, QStringLiteral("&Open")));
  EXPECT_EQ(verbs[1], std::make_pair(LONG(1), QStringLiteral("Save Copy &As...")));

  ASSERT_EQ(package->DoVerb(OLEIVERB_PRIMARY, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  ASSERT_EQ(shell_.opened.size(), 1);
  const QFileInfo copy(shell_.opened[0]);
  EXPECT_EQ(copy.fileName(), QStringLiteral("plan.txt"));
  QFile file(copy.filePath());
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), QByteArray("sit, stay, come"));
  struct stat fileMode {
  }, folderMode{}, parentMode{};
  ASSERT_EQ(stat(copy.filePath().toLocal8Bit().constData(), &fileMode), 0);
  ASSERT_EQ(stat(copy.absolutePath().toLocal8Bit().constData(), &folderMode), 0);
  ASSERT_EQ(
      stat(QFileInfo(copy.absolutePath()).absolutePath().toLocal8Bit().constData(), &parentMode),
      0);
  EXPECT_EQ(fileMode.st_mode & 0111, 0u);   // never executable
  EXPECT_EQ(folderMode.st_mode & 077, 0u);  // nobody else may read the folder
  EXPECT_EQ(parentMode.st_mode & 077, 0u);
  EXPECT_EQ(package->DoVerb(7, nullptr, nullptr, 0, nullptr, nullptr), OLEOBJ_E_INVALIDVERB);
}

TEST_F(FileServers, FilesThatWouldRunCodeAreOfferedForSavingInsteadOfOpened) {
  struct Case {
    const char* name;
    QByteArray head;
    bool refused;
  };
  const Case cases[] = {
      {"tool",
       QByteArray("\x7F"
                  "ELF\2\1\1",
                  7),
       true},
      {"setup.dat", QByteArray("MZ\x90\0", 4), true},
      {"app", QByteArray("\xCF\xFA\xED\xFE", 4), true},
      {"notes.txt", QByteArray("#!/bin/sh\nrm -rf ~"), true},
      {"clicker.desktop", QByteArray("[Desktop Entry]"), true},
      {"train.SH", QByteArray("echo"), true},
      {"walk.py", QByteArray("print()"), true},
      {"Game.AppImage", QByteArray("data"), true},
      {"run.ps1", QByteArray("x"), true},
      {"weights.ods", QByteArray("PK\3\4"), false},
      {"letter.docx", QByteArray("PK\3\4"), false},
      {"photo.jpg", QByteArray("\xFF\xD8\xFF"), false},
      {"shell.txt", QByteArray("plain text"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(!whyNotOpened(QString::fromLatin1(c.name), c.head, false).isEmpty(), c.refused);
  }
  EXPECT_FALSE(whyNotOpened(QStringLiteral("notes.txt"), "text", true).isEmpty());

  PackageContent script;
  script.label = QStringLiteral("treats.sh");
  script.bytes = "#!/bin/sh\necho hi\n";
  ComPtr<PackageObject> package = make<PackageObject>(script);
  shell_.savePath = dir_.filePath(QStringLiteral("saved.sh"));
  ASSERT_EQ(package->DoVerb(OLEIVERB_PRIMARY, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  EXPECT_TRUE(shell_.opened.isEmpty());
  ASSERT_EQ(shell_.reasons.size(), 1);
  EXPECT_TRUE(shell_.reasons[0].contains(QStringLiteral("treats.sh")));
  EXPECT_TRUE(shell_.reasons[0].contains(QStringLiteral("#!")));
  EXPECT_EQ(shell_.asked, QStringList{QStringLiteral("treats.sh")});
  QFile saved(shell_.savePath);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll(), script.bytes);
  EXPECT_EQ(saved.permissions() & (QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther), 0);
}

TEST_F(FileServers, PackagingRefusesWhatIsNotAReadableFile) {
  QString error;
  EXPECT_FALSE(PackageObject::fromFile(dir_.filePath(QStringLiteral("gone.pdf")), error));
  EXPECT_TRUE(error.contains(QStringLiteral("does not exist")));
  EXPECT_FALSE(PackageObject::fromFile(dir_.path(), error));
  EXPECT_TRUE(error.contains(QStringLiteral("folder")));
  EXPECT_FALSE(LinkedFileObject::toFile(dir_.path(), error));
  EXPECT_TRUE(error.contains(QStringLiteral("folder")));
}

TEST_F(FileServers, AVerbWhoseCopyCannotBeWrittenSaysWhy) {
  PackageContent content;
  content.label = QStringLiteral("plan.txt");
  content.bytes = "x";
  ComPtr<PackageObject> package = make<PackageObject>(content);
  shell_.openSucceeds = false;
  const HRESULT hr = package->DoVerb(OLEIVERB_PRIMARY, nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_TRUE(FAILED(hr));
  EXPECT_TRUE(messageOf(hr).contains(QStringLiteral("plan.txt")));

  shell_.savePath = dir_.filePath(QStringLiteral("no/such/folder/plan.txt"));
  const HRESULT saved = package->DoVerb(1, nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_TRUE(FAILED(saved));
  EXPECT_TRUE(messageOf(saved).contains(QStringLiteral("could not be saved")));
}

TEST_F(FileServers, ALinkFollowsItsFileAndShowsItMissing) {
  const QString path = write(QStringLiteral("weights.ods"), "PK\3\4 12 kg");
  QString error;
  ComPtr<LinkedFileObject> link = LinkedFileObject::toFile(path, error);
  ASSERT_TRUE(link) << error.toStdString();
  EXPECT_EQ(link->fileSize(), 10);
  const auto verbs = verbsOf(link.get());
  ASSERT_EQ(verbs.size(), 2u);
  EXPECT_EQ(verbs[1].second, QStringLiteral("Open Containing &Folder"));

  ComPtr<IOleLink> asLink = link.as<IOleLink>(Iid::OleLink);
  ASSERT_TRUE(asLink);
  DWORD options = 0;
  EXPECT_EQ(asLink->GetUpdateOptions(&options), S_OK);
  EXPECT_EQ(options, OLEUPDATE_ALWAYS);
  EXPECT_EQ(asLink->SetUpdateOptions(OLEUPDATE_ONCALL), S_OK);
  EXPECT_TRUE(link->changed());
  EXPECT_EQ(asLink->SetUpdateOptions(42), E_INVALIDARG);

  EXPECT_EQ(link->DoVerb(OLEIVERB_PRIMARY, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(shell_.opened, QStringList{path});  // the file where it lies
  EXPECT_EQ(link->DoVerb(1, nullptr, nullptr, 0, nullptr, nullptr), S_OK);
  EXPECT_EQ(shell_.folders, QStringList{path});

  write(QStringLiteral("weights.ods"), "PK\3\4 12 kg, 13 kg");  // the file grows
  EXPECT_EQ(link->fileSize(), 10);                              // a manual link keeps what it knew
  EXPECT_EQ(link->Update(), S_OK);
  EXPECT_EQ(link->fileSize(), 17);

  QFile::remove(path);
  EXPECT_EQ(link->Update(), S_OK);  // a missing source is shown, not an error
  EXPECT_EQ(link->fileSize(), -1);
  EXPECT_FALSE(link->contentPicture().isNull());
  const HRESULT hr = link->DoVerb(OLEIVERB_PRIMARY, nullptr, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(hr, MK_E_NOOBJECT);
  EXPECT_TRUE(messageOf(hr).contains(QStringLiteral("does not exist")));
}

TEST_F(FileServers, ALinkTakesOnlyAnExistingFileAsItsNewSource) {
  QString error;
  ComPtr<LinkedFileObject> link =
      LinkedFileObject::toFile(write(QStringLiteral("a.txt"), "a"), error);
  ASSERT_TRUE(link);
  const QString other = write(QStringLiteral("b.txt"), "bb");
  EXPECT_EQ(link->SetSourceDisplayName(reinterpret_cast<const char16_t*>(
                QString(dir_.filePath(QStringLiteral("none.txt"))).utf16())),
            MK_E_NOOBJECT);
  EXPECT_EQ(link->SetSourceDisplayName(reinterpret_cast<const char16_t*>(dir_.path().utf16())),
            MK_E_NOOBJECT);
  takeErrorInfo();
  ASSERT_EQ(link->SetSourceDisplayName(reinterpret_cast<const char16_t*>(other.utf16())), S_OK);
  char16_t* name = nullptr;
  ASSERT_EQ(link->GetSourceDisplayName(&name), S_OK);
  EXPECT_EQ(takeTaskString(name), other);
  EXPECT_EQ(link->fileSize(), 2);
  ComPtr<IMoniker> moniker;
  ASSERT_EQ(link->GetSourceMoniker(moniker.put()), S_OK);
  DWORD kind = 0;
  moniker->IsSystemMoniker(&kind);
  EXPECT_EQ(kind, MKSYS_FILEMONIKER);
}

TEST_F(FileServers, TheCacheHoldsTheIconPictureSetOnIt) {
  PackageContent content;
  content.label = QStringLiteral("plan.txt");
  ComPtr<PackageObject> package = make<PackageObject>(content);
  ComPtr<IOleCache> cache = package.as<IOleCache>(Iid::OleCache);
  FORMATETC icon{CF_METAFILEPICT, nullptr, DVASPECT_ICON, -1, TYMED_MFPICT};
  DWORD connection = 0;
  ASSERT_EQ(cache->Cache(&icon, ADVF_NODATA, &connection), S_OK);
  HMETAFILEPICT picture = OleGetIconOfClass(CLSID_Package, QStringLiteral("my label"), true);
  const QImage expected = *picture->hMF;
  STGMEDIUM medium{TYMED_MFPICT, picture, nullptr};
  ASSERT_EQ(cache->SetData(&icon, &medium, true), S_OK);
  EXPECT_EQ(medium.hMetaFilePict, nullptr);  // released as asked
  EXPECT_EQ(package->iconPicture(), expected);

  ComPtr<IDataObject> data = package.as<IDataObject>(Iid::DataObject);
  STGMEDIUM got;
  ASSERT_EQ(data->GetData(&icon, &got), S_OK);
  EXPECT_EQ(*got.hMetaFilePict->hMF, expected);
  DeleteIconPicture(got.hMetaFilePict);

  ComPtr<IEnumSTATDATA> items;
  ASSERT_EQ(cache->EnumCache(items.put()), S_OK);
  std::vector<DWORD> aspects;
  for (STATDATA item; items->Next(1, &item, nullptr) == S_OK;)
    aspects.push_back(item.formatetc.dwAspect);
  EXPECT_EQ(aspects, (std::vector<DWORD>{DVASPECT_CONTENT, DVASPECT_ICON}));
  EXPECT_EQ(cache->Uncache(connection), S_OK);
  EXPECT_EQ(cache->Uncache(connection), OLE_E_NOCACHE);
}

}  // namespace
}  // namespace ole
