// The formatting commands and the editor's events: the commands write the editor's attributes,
// and every selection change sets their check marks from the text at the caret.
#include "app/MainForm.h"

#include <QGuiApplication>

#include "app/WebLinks.h"
#include "editor/KlParaAttributes.h"
#include "editor/KlRichEdit.h"
#include "editor/KlTextAttributes.h"
#include "framework/actions/Action.h"

namespace kl {

void TfrmMain::SetStyleMember(const TAction& action, TFontStyle member) {
  // The command follows its check mark, which has already flipped; the other members are
  // written back as read.
  TFontStyles style = rchMain->SelectionAttributes().Style();
  if (action.Checked())
    style.include(member);
  else
    style.exclude(member);
  rchMain->SelectionAttributes().SetStyle(style);
}

void TfrmMain::actBoldExecute(TObject*) {
  SetStyleMember(*actBold, TFontStyle::Bold);
}

void TfrmMain::actItalicExecute(TObject*) {
  SetStyleMember(*actItalic, TFontStyle::Italic);
}

void TfrmMain::actUnderlineExecute(TObject*) {
  SetStyleMember(*actUnderline, TFontStyle::Underline);
}

void TfrmMain::actBulletsExecute(TObject*) {
  rchMain->ParagraphAttributes().SetNumbering(NumberingStyle::NumberingBullet);
}

void TfrmMain::actAlignLeftExecute(TObject*) {
  rchMain->ParagraphAttributes().SetAlignment(ParagraphAlignment::AlignLeft);
}

void TfrmMain::actAlignRightExecute(TObject*) {
  rchMain->ParagraphAttributes().SetAlignment(ParagraphAlignment::AlignRight);
}

void TfrmMain::actAlignCenterExecute(TObject*) {
  rchMain->ParagraphAttributes().SetAlignment(ParagraphAlignment::AlignCenter);
}

void TfrmMain::actFontSelectExecute(TObject*) {
  rchMain->SelectionAttributes().AssignTo(dlgFontSelect);
  if (Dialogs().ChooseFont(dlgFontSelect)) rchMain->SelectionAttributes().Assign(dlgFontSelect);
}

void TfrmMain::rchMainSelectionChange(TObject*) {
  TKlTextAttributes& text = rchMain->SelectionAttributes();
  actBold->SetChecked(text.Style().contains(TFontStyle::Bold));
  actItalic->SetChecked(text.Style().contains(TFontStyle::Italic));
  actUnderline->SetChecked(text.Style().contains(TFontStyle::Underline));
  TKlParaAttributes& paragraph = rchMain->ParagraphAttributes();
  actBullets->SetChecked(paragraph.Numbering() != NumberingStyle::NumberingNone);
  actAlignLeft->SetChecked(false);
  actAlignRight->SetChecked(false);
  actAlignCenter->SetChecked(false);
  switch (paragraph.Alignment()) {
    case ParagraphAlignment::AlignLeft:
      actAlignLeft->SetChecked(true);
      break;
    case ParagraphAlignment::AlignRight:
      actAlignRight->SetChecked(true);
      break;
    case ParagraphAlignment::AlignCenter:
      actAlignCenter->SetChecked(true);
      break;
    default:
      break;
  }
  UpdateCaretPosition();
}

void TfrmMain::rchMainChange(TObject* Sender) {
  rchMainSelectionChange(Sender);
  UpdateModifiedStatus();
}

void TfrmMain::rchMainURLClick(TObject*, const std::string& URLText, TMouseButton Button) {
  OpenLinkOnClick(URLText, Button, QGuiApplication::keyboardModifiers());
}

}  // namespace kl
