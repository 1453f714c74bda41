// Find, Find Next, Replace and Print: the editor does the work; the window starts it, names
// the print job after the entry and tells the user of a search that found nothing.

#include "app/MainForm.h"
#include "editor/KlRichEdit.h"
#include "framework/dialogs/FindDialog.h"
#include "framework/printer/Printer.h"
#include "store/GlobalUnit.h"

namespace kl {

void TfrmMain::actFindExecute(TObject*) {
  rchMain->ShowFindDialog({})->Execute();
}

void TfrmMain::actFindNextExecute(TObject*) {
  rchMain->FindAgain();  // a miss reaches the user through rchMainTextNotFound
}

void TfrmMain::actReplaceExecute(TObject*) {
  rchMain->ShowReplaceDialog({}, {})->Execute();
}

void TfrmMain::rchMainTextNotFound(TObject*, const std::string& FindText) {
  ShowMessage("Search string \"" + FindText + "\" not found!");
}

void TfrmMain::actPrintExecute(TObject*) {
  const std::optional<PrintRequest> chosen = Dialogs().ChoosePrinter(dgpPrintEntry);
  if (!chosen) return;
  Printer().Setup(*chosen);
  std::string title;
  GetEntryTitle(CurrentEntry(), title);
  rchMain->PrintDocument(title);
}

}  // namespace kl
