// The object model's plumbing: reference counts and interface queries, monikers and their
// display names, storage on a memory block, and the icon picture of a class.

#include <gtest/gtest.h>

#include "platform/ole/IconPicture.h"
#include "platform/ole/MemoryStorage.h"
#include "platform/ole/Moniker.h"
#include "platform/ole/PackageObject.h"
#include "platform/ole/TaskMemory.h"

namespace ole {
namespace {

TEST(OleModel, AnObjectGoesWithItsLastReferenceAndAnswersOnlyItsInterfaces) {
  PackageContent content;
  content.label = QStringLiteral("notes.txt");
  ComPtr<PackageObject> object = make<PackageObject>(content);
  EXPECT_EQ(object->AddRef(), 2u);
  EXPECT_EQ(object->Release(), 1u);

  ComPtr<IOleCache> cache = object.as<IOleCache>(Iid::OleCache);
  EXPECT_TRUE(cache);
  ComPtr<IDataObject> data = object.as<IDataObject>(Iid::DataObject);
  EXPECT_TRUE(data);
  void* link = reinterpret_cast<void*>(1);
  EXPECT_EQ(object->QueryInterface(Iid::OleLink, &link), E_NOINTERFACE);
  EXPECT_EQ(link, nullptr);  // an interface refused is never left dangling
}

QString displayName(IMoniker* moniker) {
  ComPtr<IBindCtx> context;
  EXPECT_EQ(CreateBindCtx(0, context.put()), S_OK);
  char16_t* name = nullptr;
  EXPECT_EQ(moniker->GetDisplayName(context.get(), nullptr, &name), S_OK);
  return takeTaskString(name);
}

TEST(OleModel, FileMonikersAndCompositesNameTheirParts) {
  ComPtr<IMoniker> file, item, composite;
  ASSERT_EQ(CreateFileMoniker(QStringLiteral("/home/ann/weights.ods"), file.put()), S_OK);
  ASSERT_EQ(CreateItemMoniker(QStringLiteral("!"), QStringLiteral("Sheet1"), item.put()), S_OK);
  ASSERT_EQ(CreateGenericComposite(file.get(), item.get(), composite.put()), S_OK);

  DWORD kind = 0;
  EXPECT_EQ(file->IsSystemMoniker(&kind), S_OK);
  EXPECT_EQ(kind, MKSYS_FILEMONIKER);
  EXPECT_EQ(composite->IsSystemMoniker(&kind), S_OK);
  EXPECT_EQ(kind, MKSYS_GENERICCOMPOSITE);
  EXPECT_EQ(displayName(composite.get()), QStringLiteral("/home/ann/weights.ods!Sheet1"));

  ComPtr<IEnumMoniker> parts;
  ASSERT_EQ(composite->Enum(true, parts.put()), S_OK);
  IMoniker* first = nullptr;
  ASSERT_EQ(parts->Next(1, &first, nullptr), S_OK);
  ComPtr<IMoniker> held = ComPtr<IMoniker>::attach(first);
  EXPECT_EQ(displayName(first), QStringLiteral("/home/ann/weights.ods"));

  // A composite of a composite is flat: its parts are the file and both items.
  ComPtr<IMoniker> longer;
  ASSERT_EQ(CreateGenericComposite(composite.get(), item.get(), longer.put()), S_OK);
  EXPECT_EQ(displayName(longer.get()), QStringLiteral("/home/ann/weights.ods!Sheet1!Sheet1"));

  EXPECT_EQ(CreateFileMoniker(QString(), file.put()), MK_E_SYNTAX);
  EXPECT_EQ(CreateBindCtx(1, nullptr), E_POINTER);
}

TEST(OleModel, StorageOnAMemoryBlockKeepsItsStreamsInTheBlock) {
  ComPtr<ILockBytes> block;
  ASSERT_EQ(CreateILockBytesOnHGlobal(nullptr, true, block.put()), S_OK);
  ComPtr<IStorage> storage;
  EXPECT_EQ(StgCreateDocfileOnILockBytes(block.get(), STGM_READWRITE, 0, storage.put()),
            E_INVALIDARG);  // without STGM_CREATE there is nothing to open
  ASSERT_EQ(StgCreateDocfileOnILockBytes(
                block.get(), STGM_READWRITE | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, storage.put()),
            S_OK);
  const qsizetype empty = block->bytes().size();
  ASSERT_EQ(storage->WriteStream(QStringLiteral("\1Ole10Native"), QByteArray(1000, 'x')), S_OK);
  EXPECT_GT(block->bytes().size(), empty + 1000);
  QByteArray back;
  EXPECT_EQ(storage->ReadStream(QStringLiteral("\1Ole10Native"), back), S_OK);
  EXPECT_EQ(back, QByteArray(1000, 'x'));
  EXPECT_EQ(storage->ReadStream(QStringLiteral("missing"), back), S_FALSE);
}

TEST(OleModel, TheIconOfAClassIsLabelledWithItsTypeOrTheLabelGiven) {
  HMETAFILEPICT typed = OleGetIconOfClass(CLSID_Package, QString(), true);
  HMETAFILEPICT named =
      OleGetIconOfClass(CLSID_Package, QStringLiteral("a much longer label"), true);
  ASSERT_NE(typed, nullptr);
  ASSERT_NE(named, nullptr);
  EXPECT_FALSE(typed->hMF->isNull());
  EXPECT_GT(typed->xExt, 0);
  EXPECT_GT(named->hMF->width(), typed->hMF->width());
  DeleteIconPicture(typed);
  DeleteIconPicture(named);
  EXPECT_EQ(OleGetIconOfClass(CLSID{}, QString(), true), nullptr);  // no such class
}

}  // namespace
}  // namespace ole
