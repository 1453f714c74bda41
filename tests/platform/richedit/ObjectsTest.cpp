// Objects in the control: files pasted or dropped from a file manager become packaged files,
// links or pictures; each is one character answered for through the object interface; the
// host's callback is asked where the platform asks it; and an entry's objects come back
// through saving and reading with the same bytes.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <cstring>

#include "platform/ole/LinkedFileObject.h"
#include "platform/ole/ObjectLayout.h"
#include "platform/ole/PackageObject.h"
#include "platform/richedit/RichEditOle.h"
#include "platform/richedit/rtf/RtfObject.h"
#include "tests/platform/ole/ScriptedShell.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

// A callback that records what it was asked and answers as the platform's defaults would.
struct RecordingCallback : IRichEditOleCallback {
  std::vector<std::string> calls;
  HRESULT acceptData = S_OK;
  HRESULT storage = S_OK;
  ULONG refs = 0;
  HRESULT QueryInterface(ole::Iid, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return ++refs; }
  ULONG Release() override { return --refs; }
  HRESULT GetNewStorage(ole::IStorage** out) override {
    calls.push_back("GetNewStorage");
    *out = nullptr;
    return storage;
  }
  HRESULT GetInPlaceContext(void**, void**, void*) override { return E_NOTIMPL; }
  HRESULT ShowContainerUI(bool) override { return E_NOTIMPL; }
  HRESULT QueryInsertObject(ole::CLSID*, ole::IStorage*, std::int32_t) override {
    calls.push_back("QueryInsertObject");
    return S_OK;
  }
  HRESULT DeleteObject(ole::IOleObject*) override {
    calls.push_back("DeleteObject");
    return S_OK;
  }
  HRESULT QueryAcceptData(ole::IDataObject*, std::uint16_t*, std::uint32_t reco, bool,
                          void*) override {
    calls.push_back(reco == RECO_DROP ? "QueryAcceptData(drop)" : "QueryAcceptData(paste)");
    return acceptData;
  }
  HRESULT ContextSensitiveHelp(bool) override { return S_OK; }
  HRESULT GetClipboardData(CHARRANGE*, std::uint32_t, ole::IDataObject**) override {
    return E_NOTIMPL;
  }
  HRESULT GetDragDropEffect(bool, std::uint32_t, std::uint32_t*) override { return E_NOTIMPL; }
  HRESULT GetContextMenu(std::uint16_t, ole::IOleObject*, CHARRANGE*, void**) override {
    return E_NOTIMPL;
  }
};

class ObjectsTest : public RichEditTest {
 protected:
  ObjectsTest() {
    send(EM_SETOLECALLBACK, 0, static_cast<IRichEditOleCallback*>(&callback));
    send(EM_GETOLEINTERFACE, 0, &ole);
  }
  ~ObjectsTest() override { send(EM_SETOLECALLBACK, 0, LPARAM(0)); }

  QString file(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  // As a file manager copies files.
  void copyFiles(const QStringList& paths) {
    auto* mime = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    mime->setUrls(urls);
    mime->setText(paths.join(QLatin1Char('\n')));
    QApplication::clipboard()->setMimeData(mime);
  }
  REOBJECT objectAt(std::int32_t index, std::uint32_t flags = REO_GETOBJ_POLEOBJ) {
    REOBJECT record{};
    record.cbStruct = sizeof(REOBJECT);
    EXPECT_EQ(ole->GetObject(index, &record, flags), S_OK);
    return record;
  }
  void streamIn(const std::string& rtf) {
    struct Source {
      const std::string* text;
      std::size_t at = 0;
    } source{&rtf};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0,
                      [](DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) -> DWORD {
                        auto* s = reinterpret_cast<Source*>(cookie);
                        const std::size_t n = std::min<std::size_t>(cb, s->text->size() - s->at);
                        std::memcpy(buffer, s->text->data() + s->at, n);
                        s->at += n;
                        *pcb = LONG(n);
                        return 0;
                      }};
    send(EM_STREAMIN, SF_RTF, &stream);
  }
  std::string streamOut() {
    std::string out;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0,
                      [](DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) -> DWORD {
                        reinterpret_cast<std::string*>(cookie)->append(
                            reinterpret_cast<char*>(buffer), std::size_t(cb));
                        *pcb = cb;
                        return 0;
                      }};
    send(EM_STREAMOUT, SF_RTF, &stream);
    return out;
  }
  static std::vector<std::string> objectGroups(const std::string& rtf) {
    std::vector<std::string> groups;
    for (std::size_t at = rtf.find("{\\object"); at != std::string::npos;
         at = rtf.find("{\\object", at + 1)) {
      int depth = 0;
      for (std::size_t i = at; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
          ++i;
          continue;
        }
        if (rtf[i] == '{') ++depth;
        if (rtf[i] == '}' && --depth == 0) {
          groups.push_back(rtf.substr(at, i - at + 1));
          break;
        }
      }
    }
    return groups;
  }

  QTemporaryDir dir;
  RecordingCallback callback;
  IRichEditOle* ole = nullptr;
  ole::test::ScriptedShell shell;
};

TEST_F(ObjectsTest, APastedFileBecomesOnePackagedObjectCharacter) {
  setText("Walk: ");
  select(6, 6);
  copyFiles({file(QStringLiteral("vet letter.pdf"), "%PDF-1.4 letter")});
  callback.calls.clear();
  send(WM_PASTE);
  EXPECT_EQ(callback.calls, (std::vector<std::string>{"QueryAcceptData(paste)", "GetNewStorage",
                                                      "QueryInsertObject"}));
  EXPECT_EQ(selection().cpMax, 7);  // one character
  select(6, 7);
  EXPECT_EQ(send(EM_SELECTIONTYPE), SEL_OBJECT);
  ASSERT_EQ(ole->GetObjectCount(), 1);
  const REOBJECT record = objectAt(REO_IOB_SELECTION, REO_GETOBJ_POLEOBJ | REO_GETOBJ_POLESITE);
  ASSERT_NE(record.poleobj, nullptr);
  EXPECT_NE(record.polesite, nullptr);
  EXPECT_EQ(record.cp, 6);
  EXPECT_EQ(record.clsid, ole::CLSID_Package);
  EXPECT_EQ(record.dvaspect, ole::DVASPECT_ICON);
  EXPECT_EQ(record.dwFlags & REO_LINK, 0u);
  auto* package = dynamic_cast<ole::PackageObject*>(record.poleobj);
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(package->content().bytes, QByteArray("%PDF-1.4 letter"));
  record.poleobj->Release();
  record.polesite->Release();

  // Deleted: the host closes it; the control no longer counts it.
  callback.calls.clear();
  send(WM_CLEAR);
  EXPECT_EQ(callback.calls, std::vector<std::string>{"DeleteObject"});
  EXPECT_EQ(ole->GetObjectCount(), 0);
  send(EM_UNDO);
  EXPECT_EQ(ole->GetObjectCount(), 1);
}

TEST_F(ObjectsTest, LinksPictureFilesAndRefusalsArriveAsThePersonAsked) {
  const QString weights = file(QStringLiteral("weights.ods"), "PK\3\4");
  copyFiles({weights});
  view()->setFocus();
  key(Qt::Key_V, {}, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(ole->GetObjectCount(), 1);
  REOBJECT record = objectAt(0);
  EXPECT_TRUE(record.dwFlags & REO_LINK);
  EXPECT_EQ(record.clsid, ole::CLSID_LinkedFile);
  record.poleobj->Release();

  QImage red(4, 3, QImage::Format_RGB32);
  red.fill(Qt::red);
  const QString png = dir.filePath(QStringLiteral("sit.png"));
  ASSERT_TRUE(red.save(png));
  copyFiles({png});
  send(WM_PASTE);
  EXPECT_EQ(ole->GetObjectCount(), 1);  // a picture, not a package
  EXPECT_EQ(selection().cpMax, 2);

  callback.acceptData = E_FAIL;  // the host refuses the data: nothing goes in
  copyFiles({weights});
  send(WM_PASTE);
  EXPECT_EQ(selection().cpMax, 2);
  callback.acceptData = S_OK;

  copyFiles({dir.path()});  // a folder is not a file: said so, nothing inserted
  send(WM_PASTE);
  EXPECT_EQ(ole->GetObjectCount(), 1);
  ASSERT_EQ(shell.messages.size(), 1);
  EXPECT_TRUE(shell.messages[0].contains(QStringLiteral("folder")));
}

TEST_F(ObjectsTest, AnEmbeddedAndALinkedFileComeBackThroughSavingWithTheSameBytes) {
  copyFiles({file(QStringLiteral("plan.txt"), QByteArray("sit\0stay", 8))});
  send(WM_PASTE);
  replace(" and ");
  copyFiles({file(QStringLiteral("weights.ods"), "PK\3\4")});
  view()->setFocus();
  key(Qt::Key_V, {}, Qt::ControlModifier | Qt::ShiftModifier);
  const std::string saved = streamOut();
  const auto groups = objectGroups(saved);
  ASSERT_EQ(groups.size(), 2u);
  EXPECT_NE(groups[0].find("\\objemb"), std::string::npos);
  EXPECT_NE(groups[0].find("{\\*\\objclass Package}"), std::string::npos);
  EXPECT_NE(groups[0].find("{\\result{\\pict\\pngblip"), std::string::npos);
  EXPECT_NE(groups[1].find("\\objlink"), std::string::npos);

  streamIn(saved);
  EXPECT_EQ(ole->GetObjectCount(), 2);
  EXPECT_EQ(ole->GetLinkCount(), 1);
  REOBJECT record = objectAt(0);
  auto* package = dynamic_cast<ole::PackageObject*>(record.poleobj);
  ASSERT_NE(package, nullptr);
  EXPECT_EQ(package->content().bytes, QByteArray("sit\0stay", 8));
  record.poleobj->Release();
  EXPECT_EQ(streamOut(), saved);  // reading and saving changes no byte
}

TEST_F(ObjectsTest, ObjectsTheProgramDoesNotServeAreKeptByteForByte) {
  // An object of another class, and a package whose lengths run past its data.
  ole::Ole1Object sheet;
  sheet.className = "Excel.Sheet.8";
  sheet.native = "not really a sheet";
  rtf::ObjectToWrite other;
  other.className = sheet.className;
  other.data = ole::writeOle1Object(sheet);
  QImage result(8, 8, QImage::Format_RGB32);
  result.fill(Qt::blue);
  other.result = result;
  ole::Ole1Object broken;
  broken.className = "Package";
  broken.native = QByteArray("\2\0name\0path\0\0\0\3\0\0\0\0\0\xFF\xFF\xFF\x7F", 22);
  rtf::ObjectToWrite damaged;
  damaged.className = "Package";
  damaged.data = ole::writeOle1Object(broken);
  damaged.result = result;
  const std::string rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 a" +
                          rtf::writeObjectGroup(other).toStdString() + " b" +
                          rtf::writeObjectGroup(damaged).toStdString() + "\\par}";
  streamIn(rtf);
  EXPECT_EQ(ole->GetObjectCount(), 0);  // neither is live
  const auto before = objectGroups(rtf);
  EXPECT_EQ(objectGroups(streamOut()), before);
}

TEST_F(ObjectsTest, InsertingThroughTheInterfaceAndChangingTheViewMarkTheTextModified) {
  setText("x");
  send(EM_SETMODIFY, 0);
  QString error;
  auto link = ole::LinkedFileObject::toFile(file(QStringLiteral("a.txt"), "a"), error);
  REOBJECT record{};
  record.cbStruct = sizeof(REOBJECT);
  record.cp = REO_CP_SELECTION;
  record.poleobj = link.get();
  ASSERT_EQ(ole->InsertObject(&record), S_OK);
  ASSERT_EQ(ole->GetObjectCount(), 1);
  send(EM_SETMODIFY, 0);
  EXPECT_EQ(ole->SetDvaspect(0, ole::DVASPECT_CONTENT), S_OK);
  EXPECT_NE(send(EM_GETMODIFY), 0);
  EXPECT_EQ(objectAt(0, 0).dvaspect, ole::DVASPECT_CONTENT);
  EXPECT_EQ(ole->SetDvaspect(5, ole::DVASPECT_ICON), E_INVALIDARG);
  EXPECT_NE(streamOut().find("{\\*\\klbobjview content}"), std::string::npos);
}

}  // namespace
}  // namespace richedit::test
