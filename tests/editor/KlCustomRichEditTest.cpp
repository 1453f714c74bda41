#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>

#include "EditorFixture.h"
#include "editor/KlParaAttributes.h"
#include "editor/KlTextAttributes.h"
#include "editor/RichEditStrings.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "platform/richedit/RichEditOle.h"

namespace kl::test {

using namespace richedit;

// Shows what the window is created with.
class ParamsEdit : public TKlRichEdit {
 public:
  TCreateParams Params() const {
    TCreateParams p;
    CreateParams(p);
    return p;
  }
};

TEST_F(EditorTest, WindowIsCreatedOnFirstNeedAndFillsTheComponent) {
  EXPECT_FALSE(edit->HandleAllocated());
  edit->SetMaxLength(10);
  edit->SetWordSelection(false);
  EXPECT_FALSE(edit->WordSelection());  // stored while there is no window
  EXPECT_TRUE(edit->SelectionType().empty());
  EXPECT_EQ(edit->CharPosition(0), TPoint{});
  EXPECT_FALSE(edit->HandleAllocated());

  edit->show();
  ASSERT_TRUE(edit->HandleAllocated());
  EXPECT_EQ(edit->Control()->geometry(), edit->rect());
  EXPECT_FALSE(edit->WordSelection());  // now the window's own option
  edit->resize(300, 120);
  EXPECT_EQ(edit->Control()->geometry(), edit->rect());
}

TEST_F(EditorTest, CreationSendsTheSettings) {
  edit->SetMaxLength(0);
  edit->HandleNeeded();
  auto mask = Sent(EM_SETEVENTMASK);
  ASSERT_FALSE(mask.empty());
  EXPECT_EQ(mask.front().lParam, 0x042C0001);
  auto limit = Sent(EM_EXLIMITTEXT);
  ASSERT_EQ(limit.size(), 1u);
  EXPECT_EQ(limit[0].lParam, 0xFFFFFF);  // MaxLength 0 means no limit of its own
  EXPECT_TRUE(WasSent(EM_SETBKGNDCOLOR));
  EXPECT_TRUE(WasSent(EM_AUTOURLDETECT));
  auto mode = Sent(EM_SETTEXTMODE);
  ASSERT_EQ(mode.size(), 1u);
  EXPECT_EQ(mode[0].wParam, TM_RICHTEXT | TM_MULTILEVELUNDO);
  EXPECT_TRUE(WasSent(EM_SETLANGOPTIONS));
  EXPECT_EQ(edit->LangOptions(), TRichLangOptions{TRichLangOption::rlAutoFont});
  EXPECT_TRUE(edit->AutoURLDetect());
}

TEST_F(EditorTest, VersionOneCreationSkipsTheNewerMessages) {
  VersionGuard v1(1);
  edit->HandleNeeded();
  EXPECT_EQ(Sent(EM_SETEVENTMASK).front().lParam, 0x002C0001);
  EXPECT_FALSE(WasSent(EM_AUTOURLDETECT));
  EXPECT_FALSE(WasSent(EM_SETUNDOLIMIT));
  EXPECT_FALSE(WasSent(EM_SETTEXTMODE));
  EXPECT_EQ(ParamsEdit().Params().WinClassName, "RICHEDIT");
}

TEST(EditorStyleTest, PropertiesBecomeWindowStyles) {
  struct Case {
    const char* name;
    std::function<void(TKlRichEdit&)> set;
    DWORD on, off;
  };
  const Case cases[] = {
      {"defaults", [](TKlRichEdit&) {},
       ES_MULTILINE | ES_SAVESEL | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | ES_SELECTIONBAR,
       WS_HSCROLL | ES_AUTOHSCROLL | ES_DISABLENOSCROLL | ES_NOHIDESEL},
      {"no word wrap", [](TKlRichEdit& e) { e.SetWordWrap(false); }, WS_HSCROLL | ES_AUTOHSCROLL,
       0},
      {"vertical only",
       [](TKlRichEdit& e) {
         e.SetWordWrap(false);
         e.SetScrollBars(TScrollStyle::ssVertical);
       },
       WS_VSCROLL, WS_HSCROLL},
      {"no scroll bars", [](TKlRichEdit& e) { e.SetScrollBars(TScrollStyle::ssNone); }, 0,
       WS_HSCROLL | WS_VSCROLL},
      {"scroll bars kept", [](TKlRichEdit& e) { e.SetHideScrollBars(false); }, ES_DISABLENOSCROLL,
       0},
      {"no selection bar", [](TKlRichEdit& e) { e.SetSelectionBar(false); }, 0, ES_SELECTIONBAR},
      {"selection kept", [](TKlRichEdit& e) { e.SetHideSelection(false); }, ES_NOHIDESEL, 0},
      {"read only", [](TKlRichEdit& e) { e.SetReadOnly(true); }, ES_READONLY, 0},
      {"centred", [](TKlRichEdit& e) { e.SetAlignment(TAlignment::taCenter); }, ES_CENTER, 0},
  };
  for (const Case& c : cases) {
    TKlRichEdit edit;
    c.set(edit);
    edit.RecreateWnd();
    edit.HandleNeeded();
    const DWORD style = edit.Control()->style();
    EXPECT_EQ(style & c.on, c.on) << c.name;
    EXPECT_EQ(style & c.off, 0u) << c.name;
  }
  EXPECT_EQ(ParamsEdit().Params().WinClassName, "RichEdit20A");
}

TEST_F(EditorTest, HideSelectionCreatesTheWindowAndTellsIt) {
  edit->SetHideSelection(false);
  ASSERT_TRUE(edit->HandleAllocated());
  auto hide = Sent(EM_HIDESELECTION);
  ASSERT_EQ(hide.size(), 1u);
  EXPECT_EQ(hide[0].wParam, 0u);
  EXPECT_EQ(hide[0].lParam, 1);
  edit->SetHideSelection(false);  // unchanged: nothing sent
  EXPECT_EQ(Sent(EM_HIDESELECTION).size(), 1u);
}

TEST_F(EditorTest, UndoLimitHoldsWhatTheControlAccepted) {
  edit->SetUndoLimit(1);  // stored; the window starts with single-level undo
  edit->HandleNeeded();
  EXPECT_EQ(Sent(EM_SETTEXTMODE).at(0).wParam, TM_RICHTEXT | TM_SINGLELEVELUNDO);
  edit->SetUndoLimit(50);
  EXPECT_EQ(Sent(EM_SETUNDOLIMIT).back().wParam, 50u);
  EXPECT_EQ(edit->UndoLimit(), 1);  // a single-level control keeps one step
}

TEST_F(EditorTest, SelectionStartDoesNotScrollSelectionLengthDoes) {
  edit->SetText("Good dog, Rex");
  sent.clear();
  edit->SetSelectionStart(5);
  EXPECT_FALSE(WasSent(EM_SCROLLCARET));
  EXPECT_EQ(edit->SelectionStart(), 5);
  edit->SetSelectionLength(3);
  EXPECT_TRUE(WasSent(EM_SCROLLCARET));
  EXPECT_EQ(edit->SelectionStart(), 5);
  EXPECT_EQ(edit->SelectionLength(), 3);
  EXPECT_EQ(edit->SelectedText(), "dog");
  char buf[3];
  EXPECT_EQ(edit->GetSelTextBuf(buf, 3), 2);  // cut to the buffer, zero included
  EXPECT_STREQ(buf, "do");
}

TEST_F(EditorTest, AssignedTextIsLeftSelectedAndCanBeUndone) {
  edit->SetText("Sit, stay");
  edit->SetSelection(5, 9, ScrollCaret::No);
  sent.clear();
  edit->SetSelectedText("heel\r\nnow ✓");
  auto replace = Sent(EM_REPLACESEL);
  ASSERT_EQ(replace.size(), 1u);
  EXPECT_EQ(replace[0].wParam, 1u);  // undoable
  EXPECT_TRUE(WasSent(EM_SCROLLCARET));
  EXPECT_EQ(edit->SelectionStart(), 5);
  EXPECT_EQ(edit->SelectedText(), "heel\rnow ✓");  // exactly the new text, one CR per break
  edit->Undo();
  EXPECT_EQ(AllText(), "Sit, stay");
}

TEST_F(EditorTest, ReplacementUnderOldLibraryOrSmallUndoLimitIsNotMadeUndoable) {
  {
    VersionGuard v1(1);
    edit->SetSelectedText("a");
    EXPECT_EQ(Sent(EM_REPLACESEL).back().wParam, 0u);
  }
  edit->SetUndoLimit(1);
  edit->SetSelectedText("b");
  EXPECT_EQ(Sent(EM_REPLACESEL).back().wParam, 0u);
  EXPECT_EQ(edit->SelectedText(), "b");
}

TEST_F(EditorTest, CaretPositionIsMeasuredAtTheSelectionEnd) {
  edit->SetText("Sit\rStay here\rDown");
  edit->SetSelection(1, 8, ScrollCaret::No);  // from line 0 into line 1
  EXPECT_EQ(edit->CaretPosition(), (TPoint{4, 1}));
  EXPECT_EQ(edit->LineFromChar(8), 1);
  EXPECT_EQ(edit->LineIndex(2), 14);
  EXPECT_EQ(edit->LineIndex(7), -1);
  EXPECT_EQ(edit->LineLength(5), 9);
  EXPECT_EQ(edit->TextRange(4, 8), "Stay");
  EXPECT_EQ(edit->TextRange(8, 4), "");
}

TEST_F(EditorTest, CharPositionAsksInTheFormOfTheVersion) {
  edit->SetText("Rex");
  const TPoint v3 = edit->CharPosition(1);
  EXPECT_NE(Sent(EM_POSFROMCHAR).back().wParam, 1u);  // the address of a point
  VersionGuard v2(2);
  EXPECT_EQ(edit->CharPosition(1), v3);
  EXPECT_EQ(Sent(EM_POSFROMCHAR).back().wParam, 1u);
  EXPECT_GT(v3.x, 0);
}

TEST_F(EditorTest, LinkClickNeedsPressAndReleaseOnTheSameLink) {
  edit->SetText("see www.example.com or www.dogs.org");
  std::vector<std::pair<std::string, TMouseButton>> clicks;
  edit->OnURLClick = [&](TObject* sender, const std::string& url, TMouseButton button) {
    EXPECT_EQ(sender, edit.get());
    clicks.emplace_back(url, button);
  };
  auto link = [&](UINT msg, LONG from, LONG to) {
    ENLINK record{};
    record.msg = msg;
    record.chrg = {from, to};
    EXPECT_EQ(Notify(record, EN_LINK), 0);
  };
  link(WM_LBUTTONDOWN, 4, 19);
  link(WM_LBUTTONUP, 4, 19);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].first, "www.example.com");
  EXPECT_EQ(clicks[0].second, TMouseButton::mbLeft);

  link(WM_LBUTTONUP, 4, 19);  // no new press
  link(WM_LBUTTONDOWN, 4, 19);
  link(WM_LBUTTONUP, 23, 35);  // released over another link
  link(WM_LBUTTONUP, 4, 19);   // the press was used up
  link(WM_LBUTTONDOWN, 4, 19);
  link(WM_RBUTTONUP, 4, 19);  // another button
  link(WM_MOUSEMOVE, 4, 19);
  EXPECT_EQ(clicks.size(), 1u);

  link(WM_RBUTTONDOWN, 23, 35);
  link(WM_MOUSEMOVE, 23, 35);
  link(WM_RBUTTONUP, 23, 35);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[1], std::make_pair(std::string("www.dogs.org"), TMouseButton::mbRight));
}

TEST_F(EditorTest, ProtectedChangeIsRefusedUnlessAHandlerAllowsIt) {
  ENPROTECTED record{};
  record.msg = WM_CHAR;
  record.wParam = 'x';
  record.chrg = {2, 5};
  EXPECT_EQ(Notify(record, EN_PROTECTED), 1);

  std::vector<int> seen;
  edit->OnProtectChange = [&](TObject*, int start, int end, bool& allow) {
    seen = {start, end};
    allow = true;
  };
  EXPECT_EQ(Notify(record, EN_PROTECTED), 0);
  EXPECT_EQ(seen, (std::vector<int>{2, 5}));

  bool plainCalled = false;
  edit->OnProtectChange = [&](TObject*, int, int, bool& allow) {
    plainCalled = true;
    allow = true;
  };
  edit->OnProtectChangeEx = [&](TObject*, const TMessage& m, int, int, bool& allow) {
    EXPECT_EQ(m.Msg, WM_CHAR);
    EXPECT_EQ(m.WParam, std::uintptr_t('x'));
    EXPECT_FALSE(allow);
  };
  EXPECT_EQ(Notify(record, EN_PROTECTED), 1);  // the Ex handler refused; the other is not asked
  EXPECT_FALSE(plainCalled);
}

TEST_F(EditorTest, ClipboardIsSavedUnlessAHandlerSaysNo) {
  ENSAVECLIPBOARD record{};
  record.cObjectCount = 1;
  record.cch = 42;
  EXPECT_EQ(Notify(record, EN_SAVECLIPBOARD), 0);
  edit->OnSaveClipboard = [](TObject*, int objects, int chars, bool& save) {
    EXPECT_EQ(objects, 1);
    EXPECT_EQ(chars, 42);
    EXPECT_TRUE(save);
    save = false;
  };
  EXPECT_EQ(Notify(record, EN_SAVECLIPBOARD), 1);
}

TEST_F(EditorTest, NotificationsRaiseTheirEvents) {
  int changes = 0, selections = 0;
  TRect requested;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->OnSelectionChange = [&](TObject*) { ++selections; };
  edit->OnResizeRequest = [&](TObject*, const TRect& r) { requested = r; };
  edit->SetSelectedText("Heel");
  EXPECT_GE(changes, 1);
  EXPECT_GE(selections, 1);
  REQRESIZE resize{};
  resize.rc = {1, 2, 300, 40};
  Notify(resize, EN_REQUESTRESIZE);
  EXPECT_EQ(requested, (TRect{1, 2, 300, 40}));
  SELCHANGE unhandled{};
  edit->OnSelectionChange = nullptr;
  EXPECT_EQ(Notify(unhandled, EN_SELCHANGE), 0);  // no handler: nothing happens
}

TEST_F(EditorTest, RecreationKeepsTextFormattingAndModified) {
  edit->SetText("Sit Stay");
  edit->SetSelection(0, 3, ScrollCaret::No);
  edit->SelectionAttributes().SetStyle({TFontStyle::Bold});
  edit->SetModified(true);
  const auto* before = edit->Control();
  edit->SetSelectionBar(false);
  ASSERT_NE(edit->Control(), before);
  EXPECT_EQ(AllText(), "Sit Stay");
  EXPECT_TRUE(edit->Modified());
  edit->SetSelection(1, 2, ScrollCaret::No);
  EXPECT_TRUE(edit->SelectionAttributes().Style().contains(TFontStyle::Bold));
  edit->SetSelection(5, 6, ScrollCaret::No);
  EXPECT_FALSE(edit->SelectionAttributes().Style().contains(TFontStyle::Bold));

  edit->SetModified(false);
  edit->SetHideScrollBars(false);
  edit->SetAllowObjects(false);
  EXPECT_FALSE(edit->Modified());
  EXPECT_EQ(AllText(), "Sit Stay");
}

TEST_F(EditorTest, ModifiedIsStoredWithoutAWindow) {
  edit->SetModified(true);
  EXPECT_FALSE(edit->HandleAllocated());
  EXPECT_TRUE(edit->Modified());
  edit->HandleNeeded();
  EXPECT_TRUE(edit->Modified());
  edit->Clear();
  EXPECT_FALSE(edit->Modified());
  EXPECT_FALSE(edit->HasText());
}

TEST_F(EditorTest, FontAndColourReachTheControl) {
  TFont font;
  font.Name = "DejaVu Sans";
  font.Size = 14;
  edit->SetFont(font);
  edit->HandleNeeded();  // a new window takes the component's font as its default format
  EXPECT_EQ(edit->DefaultAttributes().Name(), "DejaVu Sans");
  EXPECT_EQ(edit->DefaultAttributes().Size(), 14);
  font.Size = 10;
  edit->SetFont(font);
  EXPECT_EQ(edit->DefaultAttributes().Size(), 10);
  sent.clear();
  edit->Perform(WM_SETFONT, 0, 0);
  EXPECT_TRUE(WasSent(EM_SETCHARFORMAT));
  EXPECT_FALSE(WasSent(WM_SETFONT));  // handled by the component, not passed on
  edit->SetColor(0x00336699);
  EXPECT_EQ(Sent(EM_SETBKGNDCOLOR).back().lParam, 0x00336699);
}

TEST_F(EditorTest, RightToLeftModeRewritesTheAlignment) {
  edit->SetBiDiMode(TBiDiMode::bdRightToLeft);
  ASSERT_TRUE(edit->HandleAllocated());
  auto para = Sent(EM_SETPARAFORMAT);
  ASSERT_EQ(para.size(), 1u);
  EXPECT_EQ(para[0].para.dwMask, PFM_ALIGNMENT);
  EXPECT_EQ(para[0].para.wAlignment, PFA_RIGHT);  // left, as a right-to-left reader sees it
}

TEST_F(EditorTest, OptionsReadTheWindowOnceItExists) {
  edit->HandleNeeded();
  edit->SetWordSelection(false);
  EXPECT_EQ(Sent(EM_SETOPTIONS).back().wParam, ECOOP_SET);
  EXPECT_EQ(Sent(EM_SETOPTIONS).back().lParam & LPARAM(ECO_AUTOWORDSELECTION), 0);
  EXPECT_FALSE(edit->WordSelection());
  edit->SetAutoURLDetect(false);
  EXPECT_FALSE(edit->AutoURLDetect());
  edit->SetLangOptions({TRichLangOption::rlAutoKeyboard, TRichLangOption::rlImeAlwaysSendNotify});
  EXPECT_EQ(Sent(EM_SETLANGOPTIONS).back().lParam,
            LPARAM(IMF_AUTOKEYBOARD | IMF_IMEALWAYSSENDNOTIFY));
}

TEST_F(EditorTest, TitleBecomesTheObjectsHostName) {
  Application().SetTitle("Kennel Logbook");
  edit->HandleNeeded();
  edit->SetTitle("Week 3");
  IRichEditOle* ole = nullptr;
  edit->Perform(EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(&ole));
  auto* names = dynamic_cast<RichEditOle*>(ole);
  ASSERT_NE(names, nullptr);
  EXPECT_EQ(names->hostAppName(), "Kennel Logbook");
  EXPECT_EQ(names->hostObjectName(), "Week 3");
  edit->SetTitle("  ");
  EXPECT_EQ(names->hostObjectName(), "Kennel Logbook");
}

TEST_F(EditorTest, EditCommandsGoThroughTheWindow) {
  edit->SetText("Heel");
  edit->SelectAll();
  EXPECT_EQ(edit->SelectedText(), "Heel");
  edit->CopyToClipboard();
  EXPECT_TRUE(edit->CanPaste());
  edit->SetSelection(4, 4, ScrollCaret::No);
  edit->PasteFromClipboard();
  // Select all takes in the final paragraph mark, so the copy carries its break.
  EXPECT_EQ(AllText(), "HeelHeel\r");
  edit->SelectAll();
  edit->CutToClipboard();
  EXPECT_FALSE(edit->HasText());
  EXPECT_TRUE(edit->CanUndo());
  QImage picture(4, 4, QImage::Format_RGB32);
  QGuiApplication::clipboard()->setImage(picture);
  EXPECT_FALSE(edit->CanPaste());  // a picture alone is not text to paste
}

// Ctrl+Z takes back the last words, not the whole sentence: each blank, tab or break typed
// after a word ends the typing's undo step, and the blank stays with its word.
TEST_F(EditorTest, UndoTakesBackTheLastWordsTyped) {
  edit->SetWantTabs(true);
  edit->show();
  QWidget* target = edit->focusProxy();
  while (target->focusProxy() != nullptr) target = target->focusProxy();
  auto press = [&](Qt::Key k, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, k, Qt::NoModifier, text);
    QApplication::sendEvent(target, &down);
  };
  for (QChar ch : QStringLiteral("Good dog\tsits")) {
    press(ch == QLatin1Char('\t') ? Qt::Key_Tab : Qt::Key_unknown, QString(ch));
  }
  press(Qt::Key_Return, QStringLiteral("\r"));
  press(Qt::Key_unknown, QStringLiteral("x"));
  EXPECT_EQ(Sent(EM_STOPGROUPTYPING).size(), 3u);  // after "Good ", "dog\t" and "sits\r"
  const std::vector<std::string> steps = {"Good dog\tsits\r", "Good dog\t", "Good ", ""};
  for (const std::string& left : steps) {
    edit->Undo();
    EXPECT_EQ(AllText(), left);
  }
}

// The control leaves the modified flag alone for paragraph formats; the component marks the
// entry modified when a paragraph really changed, so that the change is saved on closing.
TEST_F(EditorTest, ParagraphChangeMarksTheEntryModified) {
  edit->SetText("Sit");
  edit->SetModified(false);
  edit->ParagraphAttributes().SetAlignment(ParagraphAlignment::AlignLeft);
  EXPECT_FALSE(edit->Modified());  // nothing changed
  edit->ParagraphAttributes().SetAlignment(ParagraphAlignment::AlignCenter);
  EXPECT_TRUE(edit->Modified());
}

}  // namespace kl::test

namespace kl::test {

TEST(EditorKeysTest, TabTypesATabOnlyWithWantTabs) {
  QWidget window;
  auto* edit = new TKlRichEdit(&window);
  auto* next = new QLineEdit(&window);
  next->move(0, 120);
  window.show();
  window.activateWindow();
  QApplication::setActiveWindow(&window);
  auto pressTab = [] {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, "\t");
    QApplication::sendEvent(target, &press);
  };

  edit->SetWantTabs(true);
  edit->SetFocus();
  pressTab();
  EXPECT_EQ(edit->TextRange(0, -1), "\t");
  EXPECT_TRUE(edit->Focused());

  edit->SetWantTabs(false);
  pressTab();
  EXPECT_EQ(edit->TextRange(0, -1), "\t");  // no second tab: the focus moved on
  EXPECT_FALSE(edit->Focused());
  EXPECT_TRUE(next->hasFocus());
}

}  // namespace kl::test
