#pragma once
// The main window: the entry tree on the left, the editor on the right, the menu drawn as a
// flat tool bar above them with the command tool bar and the banners, the formatting tool bar
// at the left edge and the status bar at the bottom.
//
// Its methods are spread over files by concern: MainForm.cpp (start-up, closing, the caption),
// MainLayout.cpp (the controls), MainActions.cpp (the action list), MainMenus.cpp (the menu and
// the tool bars), MainEntries.cpp (entry commands and the tree), MainFormatting.cpp (formatting
// commands and the editor's events) and MainStatus.cpp (the status bar).

#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "framework/Font.h"
#include "framework/Object.h"
#include "framework/dialogs/Dialogs.h"

class QLabel;
class QMenu;
class QSplitter;
class QToolButton;
class QTreeWidgetItem;

namespace kl {

class TAction;
class TActionList;
class TCoolBar;
class TEntryTree;
class TImageList;
class TKlRichEdit;
class TJournalSearch;
class TSearchField;
class TSearchMarks;
class TStatusPanels;
class TToolBar;

class TfrmMain : public QWidget, public TObject {
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // ---- Controls -----------------------------------------------------------------------------
  QWidget* pnlTop = nullptr;
  TCoolBar* clbr1 = nullptr;
  TToolBar* tlbMainMenu = nullptr;
  TToolBar* ToolBar1 = nullptr;
  QWidget* pnlImages = nullptr;
  QLabel* imgLogos = nullptr;
  QLabel* imgRecom = nullptr;
  QWidget* pnlRight = nullptr;
  TStatusPanels* stbMain = nullptr;
  TToolBar* tlbMaintoolbar = nullptr;
  QWidget* pnlEntries = nullptr;   // the search field above the tree
  TSearchField* edtSearch = nullptr;
  TEntryTree* tvEntries = nullptr;
  QSplitter* splLeft = nullptr;
  TKlRichEdit* rchMain = nullptr;

  // ---- Menu ---------------------------------------------------------------------------------
  QMenu* mniFile = nullptr;
  QMenu* mniEdit = nullptr;
  QMenu* mniFormat = nullptr;
  QMenu* mniSearch = nullptr;
  QToolButton* mniAbout = nullptr;

  // ---- Actions, in the order of the action list ---------------------------------------------
  std::unique_ptr<TImageList> imlMainEnabled;
  std::unique_ptr<TActionList> aclMainList;
  TAction* actEditUndo = nullptr;
  TAction* actEditRedo = nullptr;
  TAction* actEditCut = nullptr;
  TAction* actEditCopy = nullptr;
  TAction* actEditPaste = nullptr;
  TAction* actEditSelAll = nullptr;
  TAction* actAbout = nullptr;
  TAction* actNew = nullptr;
  TAction* actOpen = nullptr;
  TAction* actSave = nullptr;
  TAction* actExit = nullptr;
  TAction* actBold = nullptr;
  TAction* actItalic = nullptr;
  TAction* actUnderline = nullptr;
  TAction* actBullets = nullptr;
  TAction* actAlignLeft = nullptr;
  TAction* actAlignRight = nullptr;
  TAction* actAlignCenter = nullptr;
  TAction* actFontSelect = nullptr;
  TAction* actInsertImage = nullptr;
  TAction* actPrint = nullptr;
  TAction* actFind = nullptr;
  TAction* actFindNext = nullptr;
  TAction* actReplace = nullptr;

  // ---- Dialogs ------------------------------------------------------------------------------
  OpenFileRequest dgoOpenEntry;
  OpenFileRequest dgiOpenImage;
  TFont dlgFontSelect;
  PrintRequest dgpPrintEntry;  // the platform's default options: printer and copies

  // The entry shown in the editor: -1 for a new entry or an outside file, an entry number for
  // a recorded entry, 0 before start-up's New.
  int CurrentEntry() const { return currentEntry_; }

  // ---- Start-up and closing -----------------------------------------------------------------
  void FormShow();
  // Answers whether the window may close: false keeps it open when the entry could not be
  // saved after the user asked for it.
  bool FormClose();
  void actExitExecute(TObject* Sender);
  void actAboutExecute(TObject* Sender);
  void UpdateModifiedStatus();
  void UpdateCaption();

  // ---- Entries ------------------------------------------------------------------------------
  void actNewExecute(TObject* Sender);
  void actOpenExecute(TObject* Sender);
  void actSaveExecute(TObject* Sender);
  void tvEntriesDblClick(TObject* Sender);
  void tvEntriesEdited(TObject* Sender, QTreeWidgetItem* Node, std::string& S);
  void LoadEntry(int Number, const std::string& FileName);
  void SaveCurrentEntry(int Number);
  void LoadJournalEntries();

  // ---- Formatting and status ----------------------------------------------------------------
  void actBoldExecute(TObject* Sender);
  void actItalicExecute(TObject* Sender);
  void actUnderlineExecute(TObject* Sender);
  void actBulletsExecute(TObject* Sender);
  void actAlignLeftExecute(TObject* Sender);
  void actAlignRightExecute(TObject* Sender);
  void actAlignCenterExecute(TObject* Sender);
  void actFontSelectExecute(TObject* Sender);
  void rchMainSelectionChange(TObject* Sender);
  void rchMainChange(TObject* Sender);
  void UpdateCaretPosition();
  // Enables the standard edit commands for the editor's focus, selection, text and the
  // clipboard; runs whenever one of them may have changed.
  void UpdateEditActions();

  // ---- Search across the journal (MainSearch.cpp) -------------------------------------------
  // Puts the focus in the search field (Ctrl+E, Ctrl+Shift+F).
  void FocusSearch();
  // Filters the tree to the entries matching the search field, best first; an empty field
  // lists every entry in creation order.
  void edtSearchChange();
  // Empties the search field, lists every entry and gives the editor the focus (Escape).
  void ClearSearch();
  // Selects the first place in the editor where a searched word occurs and marks the others.
  void ShowSearchMatches();
  TJournalSearch& JournalSearch() { return *journalSearch_; }

  static constexpr const char* ModifiedQuestion =
      "Entry was modified! Do you want to save modified entry?";
  static constexpr int OuterWidth = 733;
  static constexpr int OuterHeight = 539;

 protected:
  // Where the journal lives; tests put it in a temporary folder.
  virtual void SetUpJournalPaths();

  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // MainForm.cpp
  // At start-up: a damaged index is reported, copied aside and, when the user wants it,
  // rebuilt from the entry files.
  void CheckJournalIndex();
  // MainLayout.cpp
  void BuildLayout();
  void BuildTopPanel();
  void BuildClientArea();
  void BuildStatusBar();
  void CentreOnScreen();
  // MainActions.cpp
  void SetupEditActions();
  void SetupFileActions();
  void SetupFormatActions();
  void SetupOtherActions();
  void SetupUndoActions();
  void SetupDialogs();
  void ConnectEditorEvents();
  // MainMenus.cpp
  void BuildMenu();
  void BuildMenuBar();
  void BuildToolBars();
  // MainEntries.cpp
  // Asks to save a modified entry before it is replaced. Answers false when the user wanted it
  // saved and it could not be, so the caller keeps it in the editor.
  bool ConfirmReplaceEntry();
  std::string AskEntryTitle();
  // MainFormatting.cpp
  void SetStyleMember(const TAction& action, TFontStyle member);
  // MainSearch.cpp
  void BuildSearch();
  void StartJournalSearch();
  void UpdateSearchStatus();
  void RefreshSearchResults();
  void OpenBestMatch();
  void EntrySearchChanged(int number);
  QString SearchHint(int number);

  int currentEntry_ = 0;
  bool shown_ = false;
  std::unique_ptr<TJournalSearch> journalSearch_;
  TSearchMarks* searchMarks_ = nullptr;
  std::vector<int> searchResults_;
};

}  // namespace kl
