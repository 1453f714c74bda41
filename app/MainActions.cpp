// The action list of the main window, built in the list's order by a few setup functions, and
// the dialogs the commands use. Menus, tool bars and shortcuts reach commands only through it.
#include <QAction>
#include <QApplication>
#include <QClipboard>

#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "editor/KlRichEdit.h"
#include "framework/actions/Action.h"
#include "framework/actions/ActionList.h"
#include "store/GlobalUnit.h"

namespace kl {

namespace {

QKeySequence Ctrl(Qt::Key key) {
  return QKeySequence(Qt::CTRL | key);
}

}  // namespace

void TfrmMain::SetupEditActions() {
  TActionList& list = *aclMainList;
  actEditCut =
      &list.Add({"actEditCut", "Edit", "Cu&t",
                 "Cut|Cuts the selection and puts it on the Clipboard", Ctrl(Qt::Key_X), 1, false});
  actEditCopy = &list.Add({"actEditCopy", "Edit", "&Copy",
                           "Copy|Copies the selection and puts it on the Clipboard",
                           Ctrl(Qt::Key_C), 0, false});
  actEditPaste = &list.Add({"actEditPaste", "Edit", "&Paste", "Paste|Inserts Clipboard contents",
                            Ctrl(Qt::Key_V), 2, false});
  actEditSelAll = &list.Add({"actEditSelAll", "Edit", "Select &All",
                             "Select All|Selects the entire document", Ctrl(Qt::Key_A), -1, false});
  // The standard edit commands work on the editor while it has the focus; their enabled
  // state (UpdateEditActions) keeps them from running anywhere else.
  actEditCut->OnExecute = [this](TObject*) { rchMain->CutToClipboard(); };
  actEditCopy->OnExecute = [this](TObject*) { rchMain->CopyToClipboard(); };
  actEditPaste->OnExecute = [this](TObject*) { rchMain->PasteFromClipboard(); };
  actEditSelAll->OnExecute = [this](TObject*) { rchMain->SelectAll(); };
}

void TfrmMain::SetupFileActions() {
  TActionList& list = *aclMainList;
  actAbout = &list.Add({"actAbout", "", "About ...", "About|Show about dialog", {}, 3, false});
  actNew = &list.Add(
      {"actNew", "File", "New", "New|Start new journal entry", Ctrl(Qt::Key_N), 13, false});
  actOpen =
      &list.Add({"actOpen", "File", "Open", "Open|Open journal entry", Ctrl(Qt::Key_O), 14, false});
  actSave =
      &list.Add({"actSave", "File", "Save", "Save|Save journal entry", Ctrl(Qt::Key_S), 15, false});
  actExit = &list.Add({"actExit", "File", "Close", "Exit|Close application", {}, -1, false});
  actAbout->OnExecute = [this](TObject* sender) { actAboutExecute(sender); };
  actNew->OnExecute = [this](TObject* sender) { actNewExecute(sender); };
  actOpen->OnExecute = [this](TObject* sender) { actOpenExecute(sender); };
  actSave->OnExecute = [this](TObject* sender) { actSaveExecute(sender); };
  actExit->OnExecute = [this](TObject* sender) { actExitExecute(sender); };
}

void TfrmMain::SetupFormatActions() {
  TActionList& list = *aclMainList;
  actBold = &list.Add(
      {"actBold", "Format", "Bold", "Bold|Set or unset bold style", Ctrl(Qt::Key_B), 4, true});
  actItalic = &list.Add({"actItalic", "Format", "Italic", "Italic|Set or unset italic style",
                         Ctrl(Qt::Key_I), 5, true});
  actUnderline = &list.Add({"actUnderline", "Format", "Underline",
                            "Underline|Set or unset underline style", Ctrl(Qt::Key_U), 6, true});
  actBullets = &list.Add({"actBullets",
                          "Format",
                          "&Bullets",
                          "Bullets|Inserts a bullet on the current line",
                          {},
                          8,
                          true});
  actAlignLeft = &list.Add({"actAlignLeft",
                            "Format",
                            "Align &Left",
                            "Align Left|Aligns text at the left indent",
                            {},
                            9,
                            true});
  actAlignRight = &list.Add({"actAlignRight",
                             "Format",
                             "Align &Right",
                             "Align Right|Aligns text at the right indent",
                             {},
                             10,
                             true});
  actAlignCenter = &list.Add(
      {"actAlignCenter", "Format", "&Center", "Center|Centers text between margins", {}, 11, true});
  actFontSelect = &list.Add(
      {"actFontSelect", "Format", "Select Font ...", "Select font|Select fot", {}, 17, false});
  // Inserting a picture is built on the picture conversion; until then the command does
  // nothing.
  actInsertImage = &list.Add({"actInsertImage",
                              "Format",
                              "actInserImage",
                              "Insert image|Insert image in journal ",
                              {},
                              16,
                              false});
  actBold->OnExecute = [this](TObject* sender) { actBoldExecute(sender); };
  actItalic->OnExecute = [this](TObject* sender) { actItalicExecute(sender); };
  actUnderline->OnExecute = [this](TObject* sender) { actUnderlineExecute(sender); };
  actBullets->OnExecute = [this](TObject* sender) { actBulletsExecute(sender); };
  actAlignLeft->OnExecute = [this](TObject* sender) { actAlignLeftExecute(sender); };
  actAlignRight->OnExecute = [this](TObject* sender) { actAlignRightExecute(sender); };
  actAlignCenter->OnExecute = [this](TObject* sender) { actAlignCenterExecute(sender); };
  actFontSelect->OnExecute = [this](TObject* sender) { actFontSelectExecute(sender); };
}

void TfrmMain::SetupOtherActions() {
  TActionList& list = *aclMainList;
  // Printing and searching are built on the editor's printing and find and replace; until
  // then these commands do nothing.
  actPrint = &list.Add({"actPrint", "Dialog", "Print ...", "Print|Print current journal entry",
                        Ctrl(Qt::Key_P), 12, false});
  actFind = &list.Add(
      {"actFind", "Find&Replace", "Find ...", "Find|Find text", Ctrl(Qt::Key_F), 18, false});
  actFindNext = &list.Add({"actFindNext", "Find&Replace", "Find Next", "Find Next|Find Next",
                           Ctrl(Qt::Key_H), 19, false});
  actReplace = &list.Add(
      {"actReplace", "Find&Replace", "Replace ...", "Replace|Replace", Ctrl(Qt::Key_R), 20, false});
}

// Undo and Redo come after the commands of the original list, so the list keeps its order.
void TfrmMain::SetupUndoActions() {
  TActionList& list = *aclMainList;
  actEditUndo = &list.Add(
      {"actEditUndo", "Edit", "&Undo", "Undo|Reverts the last action", Ctrl(Qt::Key_Z), -1, false});
  actEditRedo = &list.Add({"actEditRedo", "Edit", "&Redo", "Redo|Repeats the last action undone",
                           Ctrl(Qt::Key_Y), -1, false});
  // The other common redo key.
  actEditRedo->Handle()->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  actEditUndo->OnExecute = [this](TObject*) { rchMain->Undo(); };
  actEditRedo->OnExecute = [this](TObject*) { rchMain->Redo(); };
}

void TfrmMain::SetupDialogs() {
  dgoOpenEntry.title = "Select journal entry ...";
  dgoOpenEntry.filter = "Kennel Logbook (*.klb)|*.klb|Rich Text (*.rtf)|*.rtf|All Files (*.*)|*.*";
  dgoOpenEntry.filterIndex = 1;
  dgoOpenEntry.defaultExt = ".klb";
  dgoOpenEntry.hideReadOnly = true;
  dgoOpenEntry.mustExist = false;

  dgiOpenImage.filter = "Bitmaps (*.bmp)|*.bmp";
  dgiOpenImage.filterIndex = 1;
  dgiOpenImage.withPreview = true;

  dlgFontSelect = TFont();  // "MS Sans Serif", 8 point until the selection overwrites it
}

void TfrmMain::ConnectEditorEvents() {
  rchMain->OnChange = [this](TObject* sender) {
    rchMainChange(sender);
    UpdateEditActions();
  };
  rchMain->OnSelectionChange = [this](TObject* sender) {
    rchMainSelectionChange(sender);
    UpdateEditActions();
  };
  tvEntries->OnDblClick = [this](TObject* sender) { tvEntriesDblClick(sender); };
  tvEntries->OnEdited = [this](TObject* sender, QTreeWidgetItem* node, std::string& s) {
    tvEntriesEdited(sender, node, s);
  };
  // The edit commands follow the focus and the clipboard as well as the editor.
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateEditActions(); });
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          [this] { UpdateEditActions(); });
}

void TfrmMain::UpdateEditActions() {
  actEditUndo->SetEnabled(rchMain->CanUndo());
  actEditRedo->SetEnabled(rchMain->CanRedo());
  const bool focused = rchMain->Focused();
  const bool selection = focused && rchMain->SelectionLength() > 0;
  actEditCut->SetEnabled(selection);
  actEditCopy->SetEnabled(selection);
  actEditPaste->SetEnabled(focused && rchMain->CanPaste());
  actEditSelAll->SetEnabled(focused && rchMain->HasText());
}

}  // namespace kl
