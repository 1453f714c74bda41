// The editor's side of embedded objects: the callback's answers, the verb menu and its
// properties item, the properties dialog's questions and answers, closing objects, in-place
// bookkeeping and the right-click rule of older systems.

#include <QAbstractScrollArea>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>

#include "editor/KlObjectProperties.h"
#include "editor/RichEditOleCallback.h"
#include "framework/Application.h"
#include "framework/InPlaceFrame.h"
#include "framework/dialogs/ScriptedDialogs.h"
#include "platform/ole/LinkedFileObject.h"
#include "platform/ole/PackageObject.h"
#include "platform/ole/TaskMemory.h"
#include "tests/editor/EditorFixture.h"
#include "tests/platform/ole/ScriptedShell.h"

namespace kl::test {
namespace {

using namespace ole;

// An object whose verbs, closing and in-place activation a test decides.
class FakeObject final : public FileObject {
 public:
  FakeObject(std::vector<Verb> verbs, std::vector<int>* closed, int id)
      : verbs_(std::move(verbs)), closed_(closed), id_(id) {}
  bool isLink() const override { return false; }
  QString label() const override { return QStringLiteral("fake.txt"); }
  QString fullTypeName() const override { return QStringLiteral("Training Plan"); }
  QString shortTypeName() const override { return QStringLiteral("Plan"); }
  CLSID classId() const override { return CLSID_Package; }
  std::vector<Verb> verbs() const override { return verbs_; }
  Ole1Object layout() const override { return {}; }
  qint64 fileSize() const override { return 1; }
  HRESULT Close(DWORD option) override {
    if (closed_) closed_->push_back(option == OLECLOSE_NOSAVE ? id_ : -id_);
    return FileObject::Close(option);
  }
  std::vector<LONG> ran;
  IOleClientSite* site = nullptr;

 protected:
  HRESULT runVerb(LONG verb, HWND) override {
    ran.push_back(verb);
    return verb == 9 ? E_ACCESSDENIED : S_OK;
  }
  QImage readContentImage() const override { return {}; }

 private:
  std::vector<Verb> verbs_;
  std::vector<int>* closed_;
  int id_;
};

class ObjectsEditorTest : public EditorTest {
 protected:
  ObjectsEditorTest() {
    auto scripted = std::make_unique<ScriptedDialogs>();
    dialogs = scripted.get();
    SetDialogs(std::move(scripted));
    edit->HandleNeeded();
    edit->SetText("ab");
  }
  ~ObjectsEditorTest() override {
    setPropertiesDriver(nullptr);
    SetDialogs(nullptr);
  }
  // Inserts an object at the end and selects it.
  template <typename T>
  T* insert(ComPtr<T> object) {
    const int at = edit->TextLength();
    edit->SetSelection(at, at, ScrollCaret::No);
    richedit::REOBJECT record{};
    record.cbStruct = sizeof(record);
    record.cp = richedit::REO_CP_SELECTION;
    record.poleobj = object.get();
    EXPECT_EQ(edit->RichEditOle()->InsertObject(&record), S_OK);
    edit->SetSelection(at, at + 1, ScrollCaret::No);
    return object.get();
  }
  FakeObject* insertFake(std::vector<FileObject::Verb> verbs, int id = 1) {
    return insert(make<FakeObject>(std::move(verbs), &closed, id));
  }
  static QStringList captions(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
  }
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }

  ScriptedDialogs* dialogs = nullptr;
  std::vector<int> closed;
  QTemporaryDir dir;
  ole::test::ScriptedShell shell;
};

TEST_F(ObjectsEditorTest, TheCallbackAnswersAsTheHostOfObjects) {
  TRichEditOleCallback& callback = edit->OleCallback();
  ComPtr<IStorage> storage;
  EXPECT_EQ(callback.GetNewStorage(storage.put()), S_OK);
  EXPECT_TRUE(storage);
  EXPECT_EQ(callback.QueryInsertObject(nullptr, nullptr, 0), S_OK);
  EXPECT_EQ(callback.QueryAcceptData(nullptr, nullptr, richedit::RECO_PASTE, true, nullptr), S_OK);
  EXPECT_EQ(callback.ContextSensitiveHelp(true), S_OK);
  IDataObject* data = reinterpret_cast<IDataObject*>(1);
  EXPECT_EQ(callback.GetClipboardData(nullptr, richedit::RECO_COPY, &data), E_NOTIMPL);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(callback.GetDragDropEffect(false, 0, nullptr), E_NOTIMPL);
  EXPECT_EQ(callback.GetContextMenu(0, nullptr, nullptr, nullptr), E_NOTIMPL);
  void* out = nullptr;
  EXPECT_EQ(callback.QueryInterface(Iid::OleObject, &out), E_NOINTERFACE);
  EXPECT_EQ(callback.QueryInterface(Iid::RichEditOleCallback, &out), S_OK);
  const ULONG held = callback.referenceCount();
  callback.Release();  // counts only: the editor still owns it
  EXPECT_EQ(callback.referenceCount(), held - 1);
  callback.AddRef();

  FakeObject* object = insertFake({{0, QStringLiteral("&Open")}});
  EXPECT_EQ(callback.DeleteObject(object), S_OK);
  EXPECT_EQ(closed, std::vector<int>{1});  // closed without saving
}

TEST_F(ObjectsEditorTest, TheVerbMenuHasThePropertiesItemAndTheVerbsWithThePrimaryAsDefault) {
  EXPECT_EQ(edit->EffectivePopupMenu(), nullptr);  // over text, no PopupMenu: none
  insertFake({{0, QStringLiteral("&Open")}, {1, QStringLiteral("&Print")}});
  QMenu* menu = edit->EffectivePopupMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(captions(menu), (QStringList{QStringLiteral("Training Plan Properties"),
                                         QStringLiteral("&Open"), QStringLiteral("&Print")}));
  EXPECT_EQ(menu->defaultAction(), menu->actions()[1]);
  EXPECT_EQ(menu->actions()[2]->data().toInt(), 1);
}

TEST_F(ObjectsEditorTest, AnAssignedMenuGainsFiveEntriesThatDoNotAccumulate) {
  QMenu popup;
  popup.addAction(QStringLiteral("Cut"));
  popup.addAction(QStringLiteral("Copy"));
  edit->SetPopupMenu(&popup);
  insertFake({{0, QStringLiteral("&Open")}, {1, QStringLiteral("&Print")}});
  for (int request = 0; request < 2; ++request) {
    ASSERT_EQ(edit->EffectivePopupMenu(), &popup);
    EXPECT_EQ(
        captions(&popup),
        (QStringList{QStringLiteral("Cut"), QStringLiteral("Copy"), QStringLiteral("-"),
                     QStringLiteral("Training Plan Properties"), QStringLiteral("Training Plan")}));
    QMenu* verbs = popup.actions()[4]->menu();
    ASSERT_NE(verbs, nullptr);
    EXPECT_EQ(captions(verbs), (QStringList{QStringLiteral("&Open"), QStringLiteral("&Print")}));
  }
  edit->SetSelection(0, 1, ScrollCaret::No);  // back to text: only the menu's own
  EXPECT_EQ(edit->EffectivePopupMenu(), &popup);
  EXPECT_EQ(captions(&popup), (QStringList{QStringLiteral("Cut"), QStringLiteral("Copy")}));
  edit->SetPopupMenu(nullptr);
}

TEST_F(ObjectsEditorTest, ANegativeVerbEndsTheListAndVerbsRunOnTheSelectedObject) {
  FakeObject* object = insertFake(
      {{0, QStringLiteral("&Open")}, {-3, QStringLiteral("Hide")}, {9, QStringLiteral("&Broken")}});
  QMenu* menu = edit->EffectivePopupMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(captions(menu),
            (QStringList{QStringLiteral("Training Plan Properties"), QStringLiteral("&Open")}));
  menu->actions()[1]->trigger();
  EXPECT_EQ(object->ran, std::vector<LONG>{0});

  QAction broken(QStringLiteral("&Broken"));
  broken.setData(9);
  EXPECT_THROW(edit->RunObjectVerb(&broken), std::exception);  // a failing verb is an error
}

TEST_F(ObjectsEditorTest, AnObjectActiveInPlaceGetsNoMenuAndNoDialog) {
  QMainWindow form;
  auto* menuBar = form.menuBar();
  QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
  file->addAction(QStringLiteral("&Save"))->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
  menuBar->addMenu(QStringLiteral("&Edit"))
      ->addAction(QStringLiteral("Cu&t"))
      ->setShortcut(QKeySequence(QStringLiteral("Ctrl+X")));
  edit->setParent(&form);
  struct Unparent {
    TKlRichEdit& edit;
    ~Unparent() { edit.setParent(nullptr); }
  } unparent{*edit};
  FakeObject* object = insertFake({{0, QStringLiteral("&Open")}});
  richedit::REOBJECT record{};
  record.cbStruct = sizeof(record);
  ASSERT_EQ(edit->RichEditOle()->GetObject(richedit::REO_IOB_SELECTION, &record,
                                           richedit::REO_GETOBJ_POLESITE),
            S_OK);
  ComPtr<IOleClientSite> site = ComPtr<IOleClientSite>::attach(record.polesite);
  (void)object;
  ASSERT_EQ(site->OnInPlaceActivate(), S_OK);

  TRichEditOleCallback& callback = edit->OleCallback();
  TInPlaceFrameObject& frame = TInPlaceFrameObject::Of(form);
  EXPECT_EQ(callback.FrameForm(), &frame);
  EXPECT_EQ(frame.ActiveOleControl(), edit.get());
  EXPECT_FALSE(frame.AutoScroll());  // off while the object is active
  // Accelerators come from the container's menu groups: the first menu's, not the second's.
  ASSERT_EQ(callback.AcceleratorTable().size(), 1u);
  EXPECT_EQ(callback.AcceleratorTable()[0], QKeySequence(QStringLiteral("Ctrl+S")));

  EXPECT_EQ(edit->EffectivePopupMenu(), nullptr);
  bool dialogShown = false;
  setPropertiesDriver([&](ObjectPropertiesSheet&) {
    dialogShown = true;
    return OLEUI_OK;
  });
  EXPECT_FALSE(edit->ShowObjectProperties());
  EXPECT_FALSE(dialogShown);

  ASSERT_EQ(site->OnInPlaceDeactivate(), S_OK);
  EXPECT_EQ(callback.FrameForm(), nullptr);
  EXPECT_TRUE(frame.AutoScroll());
  EXPECT_TRUE(callback.AcceleratorTable().empty());
  EXPECT_EQ(frame.ActiveOleControl(), nullptr);
  EXPECT_NE(edit->EffectivePopupMenu(), nullptr);
}

TEST_F(ObjectsEditorTest, ClearClosesEveryObjectWithoutSavingTheLastFirst) {
  insertFake({{0, QStringLiteral("&Open")}}, 1);
  insertFake({{0, QStringLiteral("&Open")}}, 2);
  insertFake({{0, QStringLiteral("&Open")}}, 3);
  closed.clear();
  edit->Clear();
  ASSERT_GE(closed.size(), 3u);
  EXPECT_EQ(std::vector<int>(closed.begin(), closed.begin() + 3), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(edit->RichEditOle()->GetObjectCount(), 0);
}

TEST_F(ObjectsEditorTest, ThePropertiesDialogIsAskedAboutTheObjectAndShowsItsPages) {
  QString error;
  insert(PackageObject::fromFile(write(QStringLiteral("plan.txt"), "sit"), error));
  struct Case {
    std::string title;
    std::string location;
  };
  for (const Case& c :
       {Case{"Week 3", "Week 3 - " + Application().Title()}, Case{"   ", Application().Title()}}) {
    edit->SetTitle(c.title);
    QString caption, type, size, location;
    int pages = 0;
    setPropertiesDriver([&](ObjectPropertiesSheet& sheet) {
      caption = sheet.windowTitle();
      type = sheet.typeLabel()->text();
      size = sheet.sizeLabel()->text();
      location = sheet.locationLabel()->text();
      pages = sheet.pages()->count();
      return OLEUI_CANCEL;
    });
    EXPECT_FALSE(edit->ShowObjectProperties());
    EXPECT_EQ(caption, QStringLiteral("Package Properties"));
    EXPECT_EQ(type, QStringLiteral("Package"));
    EXPECT_EQ(size, QStringLiteral("Unknown"));  // the size is -1: not shown
    EXPECT_EQ(location.toStdString(), c.location);
    EXPECT_EQ(pages, 2);  // General and View: no Link page
  }

  richedit::REOBJECT record{};
  record.cbStruct = sizeof(record);
  edit->RichEditOle()->GetObject(richedit::REO_IOB_SELECTION, &record,
                                 richedit::REO_GETOBJ_POLEOBJ);
  ComPtr<IOleObject> held = ComPtr<IOleObject>::attach(record.poleobj);
  auto info = make<TOleUIObjInfo>(*edit, record);
  DWORD size = 0;
  char *label = nullptr, *type = nullptr, *shortType = nullptr;
  ASSERT_EQ(info->GetObjectInfo(0, &size, &label, &type, &shortType, nullptr), S_OK);
  EXPECT_EQ(size, 0xFFFFFFFFu);
  EXPECT_STREQ(label, "Package");
  EXPECT_STREQ(type, "Package");
  EXPECT_STREQ(shortType, "Packaged file");
  for (char* text : {label, type, shortType}) CoTaskMemFree(text);
  EXPECT_EQ(info->ConvertObject(0, CLSID_Package), E_NOTIMPL);
  CLSID clsid;
  EXPECT_EQ(info->GetConvertInfo(0, &clsid, nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(clsid, CLSID_Package);
}

TEST_F(ObjectsEditorTest, ChoosingIconOrContentGoesThroughTheObjectsCache) {
  QString error;
  PackageObject* package =
      insert(PackageObject::fromFile(write(QStringLiteral("a.txt"), "a"), error));
  auto aspects = [&] {
    std::vector<DWORD> out;
    ComPtr<IEnumSTATDATA> items;
    package->EnumCache(items.put());
    for (STATDATA item; items->Next(1, &item, nullptr) == S_OK;)
      out.push_back(item.formatetc.dwAspect);
    return out;
  };
  // A new package shows its icon; the cache still holds the content entry it was made with.
  DWORD aspect = DVASPECT_CONTENT;
  ASSERT_EQ(SwitchObjectAspect(package, true, nullptr, aspect), S_OK);
  EXPECT_EQ(aspect, DVASPECT_ICON);
  EXPECT_EQ(aspects(), std::vector<DWORD>{DVASPECT_ICON});  // content entries dropped
  HMETAFILEPICT icon = ObjectIconPicture(package, DVASPECT_ICON);
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->hMF->isNull());
  FreeIconPicture(icon);
  ASSERT_EQ(SwitchObjectAspect(package, false, nullptr, aspect), S_OK);
  EXPECT_EQ(aspect, DVASPECT_CONTENT);
  EXPECT_EQ(aspects(), std::vector<DWORD>{DVASPECT_CONTENT});

  // Through the View page: the control shows what was chosen.
  setPropertiesDriver([](ObjectPropertiesSheet& sheet) {
    sheet.asContent()->setChecked(true);
    sheet.applyView();
    return OLEUI_OK;
  });
  EXPECT_TRUE(edit->ShowObjectProperties());
  richedit::REOBJECT record{};
  record.cbStruct = sizeof(record);
  edit->RichEditOle()->GetObject(richedit::REO_IOB_SELECTION, &record, 0);
  EXPECT_EQ(record.dvaspect, DVASPECT_CONTENT);
}

TEST_F(ObjectsEditorTest, TheLinkPageChangesTheLinkAndRefusesWhatItCannotDo) {
  QString error;
  const QString first = write(QStringLiteral("weights.ods"), "PK");
  LinkedFileObject* link = insert(LinkedFileObject::toFile(first, error));
  edit->SetModified(false);
  const QString other = write(QStringLiteral("walks.ods"), "PK!");
  setPropertiesDriver([&](ObjectPropertiesSheet& sheet) {
    EXPECT_EQ(sheet.pages()->count(), 3);
    EXPECT_EQ(sheet.sourceLabel()->text(), first);
    EXPECT_FALSE(sheet.breakLinkButton()->isEnabled());
    EXPECT_TRUE(sheet.updateAutomatic()->isChecked());
    sheet.updateManual()->setChecked(true);
    sheet.changeSource(dir.filePath(QStringLiteral("gone.ods")));  // refused
    sheet.changeSource(other);
    EXPECT_EQ(sheet.sourceLabel()->text(), other);
    sheet.openSourceButton()->click();
    return OLEUI_OK;
  });
  EXPECT_TRUE(edit->ShowObjectProperties());
  EXPECT_TRUE(edit->Modified());  // the update option changed what the entry keeps
  DWORD options = 0;
  link->GetUpdateOptions(&options);
  EXPECT_EQ(options, OLEUPDATE_ONCALL);
  EXPECT_EQ(link->path(), other);
  EXPECT_EQ(shell.opened, QStringList{other});
  ASSERT_EQ(dialogs->Messages().size(), 1u);
  EXPECT_EQ(dialogs->Messages()[0].caption, "Link Properties");
  EXPECT_EQ(dialogs->Messages()[0].icon, MsgIcon::Error);

  richedit::REOBJECT record{};
  record.cbStruct = sizeof(record);
  edit->RichEditOle()->GetObject(richedit::REO_IOB_SELECTION, &record,
                                 richedit::REO_GETOBJ_POLEOBJ);
  ComPtr<IOleObject> held = ComPtr<IOleObject>::attach(record.poleobj);
  auto info = make<TOleUILinkInfo>(*edit, record);
  EXPECT_NE(info->GetNextLink(0), 0u);
  EXPECT_EQ(info->GetNextLink(info->GetNextLink(0)), 0u);  // exactly one link
  EXPECT_EQ(info->SetLinkSource(0, nullptr, 0, nullptr, 0), E_FAIL);
  EXPECT_EQ(info->CancelLink(0), E_NOTIMPL);
  ASSERT_EQ(dialogs->Messages().size(), 3u);
  EXPECT_EQ(dialogs->Messages()[1].text, "Cannot link to an invalid source.");
  EXPECT_EQ(dialogs->Messages()[2].text, "Break link operation is not supported.");
  char* name = nullptr;
  ULONG fileLength = 0;
  ASSERT_EQ(info->GetLinkSource(0, &name, &fileLength, nullptr, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(fileLength, ULONG(other.size()));
  CoTaskMemFree(name);

  // A package is no link: asking for its link information fails.
  insert(PackageObject::fromFile(first, error));
  richedit::REOBJECT plain{};
  plain.cbStruct = sizeof(plain);
  edit->RichEditOle()->GetObject(richedit::REO_IOB_SELECTION, &plain, richedit::REO_GETOBJ_POLEOBJ);
  ComPtr<IOleObject> package = ComPtr<IOleObject>::attach(plain.poleobj);
  EXPECT_THROW(make<TOleUILinkInfo>(*edit, plain), std::exception);
}

TEST_F(ObjectsEditorTest, FilePrefixLengthCountsTheFilePartOfALinkSource) {
  ComPtr<IMoniker> file, item, composite;
  CreateFileMoniker(QStringLiteral("/home/ann/plan.ods"), file.put());
  CreateItemMoniker(QStringLiteral("!"), QStringLiteral("Sheet1"), item.put());
  CreateGenericComposite(file.get(), item.get(), composite.put());
  EXPECT_EQ(FilePrefixLength(nullptr), 0u);
  EXPECT_EQ(FilePrefixLength(file.get()), 18u);
  EXPECT_EQ(FilePrefixLength(composite.get()), 18u);
  EXPECT_EQ(FilePrefixLength(item.get()), 0u);
}

TEST_F(ObjectsEditorTest, OnOlderSystemsReleasingTheRightButtonAsksForTheMenu) {
  edit->show();
  QWidget* viewport = nullptr;
  for (auto* area : edit->findChildren<QAbstractScrollArea*>()) viewport = area->viewport();
  ASSERT_NE(viewport, nullptr);
  auto release = [&] {
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(20, 10),
                   viewport->mapToGlobal(QPointF(20, 10)), Qt::RightButton, Qt::NoButton,
                   Qt::NoModifier);
    QApplication::sendEvent(viewport, &up);
  };
  const int old = SystemMajorVersion();
  SetSystemMajorVersionForTesting(4);
  sent.clear();
  release();
  ASSERT_EQ(Sent(richedit::WM_CONTEXTMENU).size(), 1u);
  const SentMessage menu = Sent(richedit::WM_CONTEXTMENU)[0];
  const QPoint screen = viewport->mapToGlobal(QPoint(20, 10));
  EXPECT_EQ(std::int16_t(menu.lParam & 0xFFFF), screen.x());
  EXPECT_EQ(std::int16_t((menu.lParam >> 16) & 0xFFFF), screen.y());
  SetSystemMajorVersionForTesting(5);
  sent.clear();
  release();
  EXPECT_FALSE(WasSent(richedit::WM_CONTEXTMENU));
  SetSystemMajorVersionForTesting(old);
}

}  // namespace
}  // namespace kl::test
