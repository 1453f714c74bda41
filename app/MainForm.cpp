#include "app/MainForm.h"

#include <sys/stat.h>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QShowEvent>
#include <cerrno>
#include <cstring>
#include <exception>

#include "app/About.h"
#include "app/EntryTree.h"
#include "app/StatusPanels.h"
#include "editor/KlRichEdit.h"
#include "framework/Application.h"
#include "framework/Exception.h"
#include "framework/actions/Action.h"
#include "framework/actions/ActionList.h"
#include "framework/actions/ImageList.h"
#include "search/JournalSearch.h"
#include "store/GlobalUnit.h"
#include "store/JournalRepair.h"

// The artwork is compiled into the program's library, which must register it itself.
static void InitArtwork() {
  Q_INIT_RESOURCE(resources);
}

namespace kl {

namespace {

// The system's text for a folder that could not be made, as the error report shows it.
std::string FolderErrorText(int code) {
  switch (code) {
    case EACCES:
    case EPERM:
    case EROFS:
      return "File access denied";
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
      return "Invalid filename";
    default:
      return "I/O error " + std::to_string(code);
  }
}

// Creates the journal folder (one level) when it is missing.
void ForceJournalFolder(const std::string& folder) {
  struct stat info {};
  if (::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) return;
  if (::mkdir(folder.c_str(), 0777) != 0) throw Exception(FolderErrorText(errno));
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent) {
  setObjectName("frmMain");
  setWindowTitle("Kennel Logbook");
  InitArtwork();
  imlMainEnabled = std::make_unique<TImageList>(QSize(16, 16));
  for (int index = 0; index < 21; ++index)
    imlMainEnabled->Add(QString(":/glyphs/glyph%1.png").arg(index, 2, 10, QChar('0')));
  aclMainList = std::make_unique<TActionList>(imlMainEnabled.get());
  SetupEditActions();
  SetupFileActions();
  SetupFormatActions();
  SetupOtherActions();
  SetupUndoActions();
  SetupDialogs();
  BuildLayout();
  BuildSearch();
  BuildMenu();
  BuildMenuBar();
  BuildToolBars();
  aclMainList->AddShortCutsTo(*this);
  ConnectEditorEvents();
  UpdateEditActions();
}

TfrmMain::~TfrmMain() {
  // The controls outlive the actions by a moment: nothing may reach the actions while the
  // widgets are taken down.
  QObject::disconnect(qApp, nullptr, this, nullptr);
  QObject::disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
  rchMain->OnChange = nullptr;
  rchMain->OnSelectionChange = nullptr;
  tvEntries->OnDblClick = nullptr;
  tvEntries->OnEdited = nullptr;
  tvEntries->OnNodeHint = nullptr;
  // The search's workers finish the writes handed to them before the window goes.
  journalSearch_.reset();
}

void TfrmMain::SetUpJournalPaths() {
  InitJournalPaths();
}

void TfrmMain::FormShow() {
  {
    // Shown before the window is on screen, so it stands alone, centred.
    TfrmAbout about;
    Dialogs().ExecModal(about);
  }
  try {
    SetUpJournalPaths();
    ForceJournalFolder(JournalFolder());
  } catch (const std::exception& failure) {
    // The window still opens, with only the root node and an empty editor.
    Application().HandleException(failure);
    return;
  }
  RemoveStaleSaveFiles();
  OpenJournalIni();
  CheckJournalIndex();
  LoadJournalEntries();
  StartJournalSearch();
  actNew->Execute();
  rchMain->SetFocus();
}

void TfrmMain::CheckJournalIndex() {
  const std::string index = AppFolder() + "journal.ini";
  try {
    if (!IsJournalIndexDamaged()) return;
  } catch (const std::exception&) {
    return;  // an index that cannot be read is reported when the tree is filled
  }
  std::string copy;
  try {
    copy = KeepDamagedIndexCopy();
  } catch (const std::exception& failure) {
    // Without a copy nothing may replace it: it is read as it is.
    ShowMessage("The journal index " + index + " is damaged, and no copy of it could be kept (" +
                failure.what() + "). It is left as it is.");
    return;
  }
  MessageRequest question;
  question.text = "The journal index " + index + " is damaged. A copy of it is kept as " + copy +
                  ".\n\nDo you want to rebuild the index from the entries in " + JournalFolder() +
                  "?";
  question.caption = Application().Title();
  question.icon = MsgIcon::Warning;
  question.buttons = MsgButtons::YesNo;
  question.buttonTexts = {"&Yes", "&No"};
  if (Dialogs().MessageBox(question) != MsgResult::Yes) {
    SetJournalIndexAside();
    return;
  }
  try {
    RebuildJournalIndex();
  } catch (const std::exception& failure) {
    ShowMessage(std::string("RebuildJournalIndex: Error - ") + failure.what());
  }
}

bool TfrmMain::FormClose() {
  if (rchMain->Modified() && AskConfirmation(ModifiedQuestion) == MsgResult::Yes) {
    // The user asked for the save: let Save see the flag even when no change event has
    // refreshed it (a formatting command alone), so the answer is never ignored.
    UpdateModifiedStatus();
    try {
      actSave->Execute();
    } catch (const std::exception& failure) {
      Application().HandleException(failure);
      return false;
    }
    // A save that failed keeps the window, and the text, open.
    if (rchMain->Modified()) return false;
  }
  CloseJournalIni();
  return true;
}

void TfrmMain::actExitExecute(TObject*) {
  actSave->Execute();
  close();
}

void TfrmMain::actAboutExecute(TObject*) {
  TfrmAbout about(this);
  Dialogs().ExecModal(about);
}

void TfrmMain::UpdateModifiedStatus() {
  stbMain->SetText(1, rchMain->Modified() ? "Modified" : "");
  UpdateCaption();
}

void TfrmMain::UpdateCaption() {
  actSave->SetEnabled(rchMain->Modified());
  std::string title;
  GetEntryTitle(currentEntry_, title);
  setWindowTitle(QString::fromStdString("Kennel Logbook - " + title));
}

void TfrmMain::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (shown_ || event->spontaneous()) return;
  shown_ = true;
  FormShow();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (FormClose())
    event->accept();
  else
    event->ignore();
}

}  // namespace kl
