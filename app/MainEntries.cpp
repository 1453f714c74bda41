// The entry commands and the entry tree: New, Open, Save, opening a node by double-click,
// renaming a node in place, and the two methods that load and save the editor's entry.
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <algorithm>

#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "app/SearchField.h"
#include "editor/KlRichEdit.h"
#include "editor/KlTextAttributes.h"
#include "editor/RichEditStrings.h"
#include "framework/Exception.h"
#include "framework/actions/Action.h"
#include "search/JournalSearch.h"
#include "store/EntryDates.h"
#include "store/GlobalUnit.h"

namespace kl {

namespace {

// Blank as the platform's trimming sees it: nothing but blanks and control characters.
bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// Checks, before anything in the window changes, that the file chosen through Open can become
// an entry: it can be read, and it holds RTF (it starts with "{\rtf") or text (no NUL byte in
// its first 64 KB). A picture or a program picked by mistake would otherwise turn into pages
// of noise, and the editor's text would be gone. A file that cannot be read fails like any read;
// one of another kind is refused with a message, answering false.
bool IsOpenableFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly))
    throw Exception("Cannot open file \"" + path + "\". " + file.errorString().toStdString());
  const QByteArray start = file.read(64 * 1024);
  if (file.error() != QFileDevice::NoError)
    throw Exception("Cannot read file \"" + path + "\". " + file.errorString().toStdString());
  if (!start.startsWith("{\\rtf") && start.contains('\0')) {
    ShowMessage(path + " is not a rich text or text file");
    return false;
  }
  return true;
}

}  // namespace

bool TfrmMain::ConfirmReplaceEntry() {
  if (!rchMain->Modified()) return true;
  if (AskConfirmation(ModifiedQuestion) != MsgResult::Yes) return true;
  // The user asked for the save: Save must see the flag even when no change event refreshed
  // it (after a formatting command alone).
  UpdateModifiedStatus();
  actSave->Execute();
  // A save that failed leaves the text where it is.
  return !rchMain->Modified();
}

void TfrmMain::actNewExecute(TObject*) {
  if (!ConfirmReplaceEntry()) return;
  currentEntry_ = -1;
  rchMain->Lines().Clear();
  rchMain->SelectionAttributes().SetStyle({TFontStyle::Bold});
  rchMain->Lines().Add(EntryDateLine(QDateTime::currentDateTime(), QLocale::system()));
  rchMain->SelectionAttributes().SetStyle({});
  rchMain->Lines().Add("");
  rchMain->SetModified(false);
  UpdateModifiedStatus();
  rchMain->SetFocus();
}

void TfrmMain::actOpenExecute(TObject*) {
  dgoOpenEntry.initialDir = JournalFolder();
  const std::optional<std::string> file = Dialogs().OpenFile(dgoOpenEntry);
  if (!file) return;
  if (!IsOpenableFile(*file)) return;
  if (!ConfirmReplaceEntry()) return;
  currentEntry_ = -1;
  LoadEntry(-1, *file);
  rchMain->SetFocus();
}

void TfrmMain::actSaveExecute(TObject*) {
  SaveCurrentEntry(currentEntry_);
}

void TfrmMain::tvEntriesDblClick(TObject*) {
  const QTreeWidgetItem* node = tvEntries->Selected();
  if (!node || tvEntries->AbsoluteIndex(node) == 0) return;
  // Taken now: saving the modified entry first rebuilds the tree.
  const int number = TEntryTree::NodeData(node);
  if (number == 0) return;
  if (!ConfirmReplaceEntry()) return;
  currentEntry_ = number;
  std::string path;
  GetEntryFileName(number, "", path);
  LoadEntry(number, path);
  rchMain->SetFocus();
  ShowSearchMatches();
}

void TfrmMain::tvEntriesEdited(TObject*, QTreeWidgetItem* Node, std::string& S) {
  if (tvEntries->AbsoluteIndex(Node) == 0) {
    S = "Entries";
  } else if (IsBlank(S)) {
    S = Node->text(0).toStdString();
  } else if (SaveEntryTitle(TEntryTree::NodeData(Node), S)) {
    JournalSearch().EntryRenamed(TEntryTree::NodeData(Node), S);
    // The caption must not go on showing a title that no longer exists.
    if (TEntryTree::NodeData(Node) == currentEntry_) UpdateCaption();
  }
}

void TfrmMain::LoadEntry(int Number, const std::string& FileName) {
  rchMain->Lines().Clear();
  std::string path;
  GetEntryFileName(Number, FileName, path);
  try {
    rchMain->Lines().LoadFromFile(path);
  } catch (...) {
    // A recorded file that is there but cannot be read must not be overwritten by the next
    // save: that save records a new entry instead.
    if (Number > 0 && !path.empty() && QFileInfo::exists(QString::fromStdString(path)))
      currentEntry_ = -1;
    throw;
  }
  rchMain->SetModified(Number <= 0);
  UpdateModifiedStatus();
}

std::string TfrmMain::AskEntryTitle() {
  InputRequest request;
  request.caption = "Add journal entry title";
  request.prompt = "Entry title";
  request.maxLength = 255;
  const std::string answer = Dialogs().InputBox(request);
  return IsBlank(answer) ? DefaultEntryTitle(QDateTime::currentDateTime(), QLocale::system())
                         : answer;
}

void TfrmMain::SaveCurrentEntry(int Number) {
  std::string fileName;
  if (Number > 0) GetEntryFileName(Number, "", fileName);
  if (Number > 0 && !fileName.empty()) {
    if (!SaveEntry(Number, "", fileName)) return;
    rchMain->Lines().SaveToFile(fileName);
  } else {
    // An entry the index knows without a file path cannot be rewritten in place: it is kept
    // as a new entry under its own title, so the text can always be saved.
    std::string title;
    if (Number > 0)
      GetEntryTitle(Number, title);
    else
      title = AskEntryTitle();
    // The file is written before the index records it, so the index never lists an entry
    // whose file is missing; afterwards the window holds the recorded entry, and later saves
    // rewrite its file.
    int number = 0;
    const auto writeFile = [this](const std::string& path) {
      rchMain->Lines().SaveToFile(path);
      return true;
    };
    if (!SaveNewEntry(title, writeFile, fileName, number)) return;
    currentEntry_ = number;
  }
  rchMain->SetModified(false);
  UpdateModifiedStatus();
  EntrySearchChanged(currentEntry_);
  LoadJournalEntries();
}

void TfrmMain::LoadJournalEntries() {
  tvEntries->setUpdatesEnabled(false);
  tvEntries->ForgetFilter();
  tvEntries->clear();
  auto* root = new QTreeWidgetItem(QStringList{"Entries"});
  root->setFlags(root->flags() | Qt::ItemIsEditable);
  // Which journal this is: a program folder that cannot be written keeps it elsewhere.
  root->setToolTip(0, QString::fromStdString(JournalFolder()));
  tvEntries->addTopLevelItem(root);
  try {
    QList<QTreeWidgetItem*> nodes;
    for (const TJournalEntry& entry : ReadJournalEntries()) {
      auto* node = new QTreeWidgetItem(QStringList{QString::fromStdString(entry.Title)});
      node->setFlags(node->flags() | Qt::ItemIsEditable);
      TEntryTree::SetNodeData(node, entry.Number);
      nodes.append(node);
    }
    root->addChildren(nodes);
  } catch (const std::exception& failure) {
    ShowMessage(std::string("LoadJournalEntries: Error - ") + failure.what());
  }
  tvEntries->expandAll();
  // A search in progress goes on over the tree as it now is.
  if (!edtSearch->text().trimmed().isEmpty()) edtSearchChange();
  tvEntries->setUpdatesEnabled(true);
}

}  // namespace kl
