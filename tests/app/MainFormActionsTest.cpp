// The action list, the menu, the tool bars and the execution rules seen in the real window.
#include <QClipboard>
#include <QCursor>
#include <QElapsedTimer>
#include <QImage>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <QTreeWidget>

#include "app/ToolBar.h"
#include "framework/actions/ActionList.h"
#include "platform/richedit/RichEditTypes.h"
#include "tests/app/MainFormFixture.h"

namespace kl::testing {
namespace {

using MainFormActions = MainFormFixture;

struct ActionRow {
  const char* name;
  const char* category;
  const char* caption;
  const char* hint;
  QKeySequence shortCut;
  int image;
  bool autoCheck;
};

QKeySequence Ctrl(Qt::Key key) {
  return QKeySequence(Qt::CTRL | key);
}

TEST_F(MainFormActions, ActionListHoldsEveryCommandInOrder) {
  const std::vector<ActionRow> rows{
      {"actEditCut", "Edit", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard",
       Ctrl(Qt::Key_X), 1, false},
      {"actEditCopy", "Edit", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
       Ctrl(Qt::Key_C), 0, false},
      {"actEditPaste", "Edit", "&Paste", "Paste|Inserts Clipboard contents", Ctrl(Qt::Key_V), 2,
       false},
      {"actEditSelAll", "Edit", "Select &All", "Select All|Selects the entire document",
       Ctrl(Qt::Key_A), -1, false},
      {"actAbout", "", "About ...", "About|Show about dialog", {}, 3, false},
      {"actNew", "File", "New", "New|Start new journal entry", Ctrl(Qt::Key_N), 13, false},
      {"actOpen", "File", "Open", "Open|Open journal entry", Ctrl(Qt::Key_O), 14, false},
      {"actSave", "File", "Save", "Save|Save journal entry", Ctrl(Qt::Key_S), 15, false},
      {"actExit", "File", "Close", "Exit|Close application", {}, -1, false},
      {"actEntryHistory",
       "File",
       "Entry &History...",
       "Entry History|Show the earlier versions of this entry",
       {},
       -1,
       false},
      {"actBold", "Format", "Bold", "Bold|Set or unset bold style", Ctrl(Qt::Key_B), 4, true},
      {"actItalic", "Format", "Italic", "Italic|Set or unset italic style", Ctrl(Qt::Key_I), 5,
       true},
      {"actUnderline", "Format", "Underline", "Underline|Set or unset underline style",
       Ctrl(Qt::Key_U), 6, true},
      {"actBullets",
       "Format",
       "&Bullets",
       "Bullets|Inserts a bullet on the current line",
       {},
       8,
       true},
      {"actAlignLeft",
       "Format",
       "Align &Left",
       "Align Left|Aligns text at the left indent",
       {},
       9,
       true},
      {"actAlignRight",
       "Format",
       "Align &Right",
       "Align Right|Aligns text at the right indent",
       {},
       10,
       true},
      {"actAlignCenter", "Format", "&Center", "Center|Centers text between margins", {}, 11, true},
      {"actFontSelect", "Format", "Select Font ...", "Select font|Select fot", {}, 17, false},
      {"actInsertImage",
       "Format",
       "actInserImage",
       "Insert image|Insert image in journal ",
       {},
       16,
       false},
      {"actPrint", "Dialog", "Print ...", "Print|Print current journal entry", Ctrl(Qt::Key_P), 12,
       false},
      {"actFind", "Find&Replace", "Find ...", "Find|Find text", Ctrl(Qt::Key_F), 18, false},
      {"actFindNext", "Find&Replace", "Find Next", "Find Next|Find Next", Ctrl(Qt::Key_H), 19,
       false},
      {"actReplace", "Find&Replace", "Replace ...", "Replace|Replace", Ctrl(Qt::Key_R), 20, false},
      {"actEditUndo", "Edit", "&Undo", "Undo|Reverts the last action", Ctrl(Qt::Key_Z), -1, false},
      {"actEditRedo", "Edit", "&Redo", "Redo|Repeats the last action undone", Ctrl(Qt::Key_Y), -1,
       false},
  };
  Start();
  const TActionList& list = *Form().aclMainList;
  ASSERT_EQ(list.Count(), int(rows.size()));
  for (int i = 0; i < list.Count(); ++i) {
    const ActionRow& row = rows[std::size_t(i)];
    const TAction& action = list[i];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(action.Name(), row.name);
    EXPECT_EQ(action.Category(), row.category);
    EXPECT_EQ(action.Caption(), row.caption);
    EXPECT_EQ(action.Hint(), row.hint);
    EXPECT_EQ(action.ShortCut(), row.shortCut);
    EXPECT_EQ(action.ImageIndex(), row.image);
    EXPECT_EQ(action.AutoCheck(), row.autoCheck);
    EXPECT_EQ(action.Handle()->icon().isNull(), row.image < 0);
  }
}

// The items of a menu: captions of the linked actions, "-" for separators.
std::vector<std::string> Items(const QMenu& menu) {
  std::vector<std::string> items;
  for (const QAction* item : menu.actions())
    items.push_back(item->isSeparator() ? "-" : item->text().toStdString());
  return items;
}

TEST_F(MainFormActions, MenuBarShowsTheMenuAsCaptionButtons) {
  Start();
  const std::vector<QToolButton*> buttons = [&] {
    std::vector<QToolButton*> found;
    for (QToolButton* button : Form().tlbMainMenu->findChildren<QToolButton*>())
      found.push_back(button);
    std::sort(found.begin(), found.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    return found;
  }();
  ASSERT_EQ(buttons.size(), 5u);
  const std::vector<QString> captions{"&File", "&Edit", "For&mat", "Search", "About ..."};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    EXPECT_EQ(buttons[i]->text(), captions[i]);
    EXPECT_EQ(buttons[i]->size(), QSize(47, 21));
  }
  EXPECT_EQ(Items(*Form().mniFile),
            (std::vector<std::string>{"New", "Open", "Save", "Entry &History...", "-", "Print ...",
                                      "-", "Close"}));
  EXPECT_EQ(Items(*Form().mniEdit),
            (std::vector<std::string>{"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "-",
                                      "Select &All"}));
  EXPECT_EQ(Items(*Form().mniFormat),
            (std::vector<std::string>{"Select Font ...", "-", "Bold", "Italic", "Underline", "-",
                                      "Align &Left", "&Center", "Align &Right", "-", "&Bullets"}));
  EXPECT_EQ(Items(*Form().mniSearch),
            (std::vector<std::string>{"Find ...", "Find Next", "-", "Replace ..."}));
  for (const QAction* item : Form().mniFormat->actions()) {
    if (!item->isSeparator() && item->text() != "Select Font ...") {
      EXPECT_TRUE(item->isCheckable());
    }
  }
  EXPECT_EQ(buttons[0]->menu(), Form().mniFile);

  // "About ..." runs the About dialog itself.
  Asked().QueueModalResult(1);
  buttons[4]->click();
  EXPECT_EQ(Asked().ModalForms().size(), 2u);
}

TEST_F(MainFormActions, MenuCaptionIsNotLeftRaisedAfterItsMenuCloses) {
  Start();
  auto* format = Form().tlbMainMenu->findChild<QToolButton*>("mniFormatButton");
  ASSERT_NE(format, nullptr);
  // The menu was opened with the pointer on the caption; it closes with the pointer elsewhere.
  format->setAttribute(Qt::WA_UnderMouse, true);
  QCursor::setPos(format->mapToGlobal(QPoint(format->width() / 2, 300)));
  emit Form().mniFormat->aboutToHide();
  QApplication::processEvents();
  EXPECT_FALSE(format->underMouse());
}

// Names of a tool bar's children in order along it; "|" for a separator.
std::vector<std::string> ToolBarLayout(const TToolBar& bar, Qt::Orientation orientation) {
  std::vector<std::pair<int, std::string>> parts;
  for (QWidget* child : bar.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    const int at = orientation == Qt::Horizontal ? child->x() : child->y();
    auto* button = qobject_cast<QToolButton*>(child);
    parts.emplace_back(at, button ? button->defaultAction()->objectName().toStdString() : "|");
    if (button) {
      EXPECT_EQ(button->size(), QSize(23, 22));
    } else {
      EXPECT_EQ(orientation == Qt::Horizontal ? child->width() : child->height(), 8);
    }
  }
  std::sort(parts.begin(), parts.end());
  std::vector<std::string> names;
  for (auto& part : parts) names.push_back(part.second);
  return names;
}

TEST_F(MainFormActions, ToolBarsHoldTheirButtonsInOrder) {
  Start();
  EXPECT_EQ(ToolBarLayout(*Form().ToolBar1, Qt::Horizontal),
            (std::vector<std::string>{"actNew", "actOpen", "actSave", "actPrint", "|", "actEditCut",
                                      "actEditCopy", "actEditPaste", "|", "actAbout"}));
  EXPECT_EQ(ToolBarLayout(*Form().tlbMaintoolbar, Qt::Vertical),
            (std::vector<std::string>{"actFontSelect", "|", "actBold", "actItalic", "actUnderline",
                                      "|", "actAlignLeft", "actAlignCenter", "actAlignRight", "|",
                                      "actBullets", "|", "actInsertImage"}));
  auto* bold = Form().tlbMaintoolbar->findChild<QToolButton*>("btnBold");
  ASSERT_NE(bold, nullptr);
  EXPECT_EQ(bold->toolTip(), "Bold");
}

TEST_F(MainFormActions, BoldFromMenuShortcutAndButtonFlipsOnceEachAndTheyAgree) {
  Start();
  Type("plain");
  Editor().SelectAll();
  auto* button = Form().tlbMaintoolbar->findChild<QToolButton*>("btnBold");
  QAction* item = Form().mniFormat->actions()[2];
  ASSERT_EQ(item->text(), "Bold");

  const auto bold = [&] {
    return Editor().SelectionAttributes().Style().contains(TFontStyle::Bold);
  };
  const bool wasBold = bold();
  item->trigger();
  EXPECT_NE(bold(), wasBold);
  EXPECT_EQ(item->isChecked(), bold());
  EXPECT_EQ(button->isChecked(), bold());

  EXPECT_TRUE(PressKey(EditorWindow(), Qt::Key_B, Qt::ControlModifier));
  EXPECT_EQ(bold(), wasBold);
  EXPECT_EQ(item->isChecked(), bold());
  EXPECT_EQ(button->isChecked(), bold());

  button->click();
  EXPECT_NE(bold(), wasBold);
  EXPECT_EQ(item->isChecked(), bold());
  EXPECT_EQ(button->isChecked(), bold());
}

TEST_F(MainFormActions, EditCommandsFollowTheFocusTheSelectionAndTheClipboard) {
  Start();
  QGuiApplication::clipboard()->setText("treat");
  Type("Sit");
  Editor().SetSelection(0, 2, ScrollCaret::No);
  Form().UpdateEditActions();
  EXPECT_TRUE(Form().actEditCut->Enabled());
  EXPECT_TRUE(Form().actEditCopy->Enabled());
  EXPECT_TRUE(Form().actEditPaste->Enabled());
  EXPECT_TRUE(Form().actEditSelAll->Enabled());

  // The focus in the tree greys all four, on the menu and the tool bar alike.
  Form().tvEntries->setFocus();
  QApplication::processEvents();
  for (TAction* action :
       {Form().actEditCut, Form().actEditCopy, Form().actEditPaste, Form().actEditSelAll})
    EXPECT_FALSE(action->Enabled()) << action->Name();
  EXPECT_FALSE(Form().ToolBar1->findChild<QToolButton*>("ToolButton5")->isEnabled());
  EXPECT_FALSE(Form().mniEdit->actions()[3]->isEnabled()) << "Cut";

  // Back in the editor, with a caret only and a picture on the clipboard.
  Editor().SetFocus();
  Editor().SetSelection(1, 1, ScrollCaret::No);
  QImage picture(4, 4, QImage::Format_RGB32);
  picture.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(picture);
  QApplication::processEvents();
  EXPECT_FALSE(Form().actEditCut->Enabled());
  EXPECT_FALSE(Form().actEditCopy->Enabled());
  EXPECT_FALSE(Form().actEditPaste->Enabled());
  EXPECT_TRUE(Form().actEditSelAll->Enabled());

  // Copy and paste through the commands.
  Editor().SetSelection(0, 3, ScrollCaret::No);
  Form().UpdateEditActions();
  EXPECT_TRUE(Form().actEditCopy->Execute());
  EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), Editor().TextRange(0, 3));
}

TEST_F(MainFormActions, UndoAndRedoFollowTheEditorAndStartDisabled) {
  Start();
  EXPECT_FALSE(Form().actEditUndo->Enabled()) << "nothing to undo after New";
  EXPECT_FALSE(Form().actEditRedo->Enabled());
  Type("Sit");
  EXPECT_TRUE(Form().actEditUndo->Enabled());
  ASSERT_TRUE(Form().actEditUndo->Execute());
  EXPECT_EQ(EditorText().find("Sit"), std::string::npos);
  EXPECT_TRUE(Form().actEditRedo->Enabled());

  // Both redo keys work from anywhere in the window.
  QWidget& tree = *Form().tvEntries;
  tree.setFocus();
  EXPECT_TRUE(PressKey(tree, Qt::Key_Y, Qt::ControlModifier));
  EXPECT_NE(EditorText().find("Sit"), std::string::npos);
  EXPECT_TRUE(PressKey(tree, Qt::Key_Z, Qt::ControlModifier));
  EXPECT_TRUE(PressKey(tree, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
  EXPECT_NE(EditorText().find("Sit"), std::string::npos);

  Asked().QueueInput("Sit");
  ASSERT_TRUE(Form().actSave->Execute());
  Form().tvEntries->setCurrentItem(Form().tvEntries->topLevelItem(0)->child(0));
  Form().tvEntriesDblClick(Form().tvEntries);
  EXPECT_FALSE(Form().actEditUndo->Enabled()) << "nothing to undo in an entry just opened";
}

TEST_F(MainFormActions, CtrlSWhileSaveIsDisabledSavesNothingAndReachesTheEditor) {
  Start();
  ASSERT_FALSE(Form().actSave->Enabled());
  EXPECT_FALSE(PressKey(EditorWindow(), Qt::Key_S, Qt::ControlModifier));
  EXPECT_TRUE(Asked().Inputs().empty());
  EXPECT_TRUE(EntryFiles().isEmpty());

  Type("x");
  ASSERT_TRUE(Form().actSave->Enabled());
  Asked().QueueInput("Short walk");
  EXPECT_TRUE(PressKey(EditorWindow(), Qt::Key_S, Qt::ControlModifier));
  EXPECT_EQ(EntryFiles().size(), 1);
}

TEST_F(MainFormActions, FailureOfACommandFromTheUserIsReportedAndTheProgramGoesOn) {
  Start();
  Type("x");
  RefuseWritingInJournalFolder();
  Asked().QueueInput("Lost?");
  Form().ToolBar1->findChild<QToolButton*>("ToolButton3")->click();
  ASSERT_FALSE(Asked().Messages().empty());
  EXPECT_EQ(Asked().Messages().back().icon, MsgIcon::Error);
  EXPECT_EQ(Asked().Messages().back().caption, "Kennel Logbook");
  EXPECT_TRUE(Editor().Modified());
  EXPECT_TRUE(Form().actSave->Enabled());
}

TEST_F(MainFormActions, ZoomKeysScaleTheEditorsViewNotTheEntry) {
  Start();
  Type("Sit and stay");
  Asked().QueueInput("Sit");
  ASSERT_TRUE(Form().actSave->Execute());
  ASSERT_EQ(EntryFiles().size(), 1);
  const std::string file = JournalPath() + "/" + EntryFiles().front().toStdString();
  const std::string saved = ReadFile(file);
  auto zoom = [&] {
    int n = -1;
    int d = -1;
    Editor().Perform(richedit::EM_GETZOOM, reinterpret_cast<std::uintptr_t>(&n),
                     reinterpret_cast<std::intptr_t>(&d));
    return std::pair(n, d);
  };
  PressKey(EditorWindow(), Qt::Key_Plus, Qt::ControlModifier, "+");
  PressKey(EditorWindow(), Qt::Key_Equal, Qt::ControlModifier, "=");
  EXPECT_EQ(zoom(), std::pair(125, 100));
  PressKey(EditorWindow(), Qt::Key_Minus, Qt::ControlModifier, "-");
  EXPECT_EQ(zoom(), std::pair(110, 100));
  EXPECT_FALSE(Editor().Modified());
  EXPECT_FALSE(Form().actSave->Enabled()) << "zoom is not an edit";
  EXPECT_TRUE(QString::fromStdString(EditorText()).endsWith("\rSit and stay")) << "nothing typed";
  PressKey(EditorWindow(), Qt::Key_0, Qt::ControlModifier, "0");
  EXPECT_EQ(zoom(), std::pair(0, 0));
  EXPECT_EQ(ReadFile(file), saved);
}

}  // namespace
}  // namespace kl::testing

namespace kl::testing {
namespace {

// Between two keys the window asks the editor for the paragraph's format (for the toolbar);
// asking must not end the typing's undo step, or Ctrl+Z would take back one letter at a time.
TEST_F(MainFormActions, TypingAtAPersonsPaceIsOneUndoStep) {
  Start();
  for (QChar c : QStringLiteral("Sit")) {
    PressKey(EditorWindow(), c.toUpper().unicode(), Qt::NoModifier, QString(c));
    QElapsedTimer pause;
    pause.start();
    while (pause.elapsed() < 50) QApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  ASSERT_TRUE(Form().actEditUndo->Execute());
  EXPECT_EQ(EditorText().find("Si"), std::string::npos) << EditorText();
}

}  // namespace
}  // namespace kl::testing
