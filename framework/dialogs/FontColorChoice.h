#pragma once
// The colour list of the font dialog's effects: Qt's font dialog has none, and a person picks
// the colour of the selected text there.

#include "framework/Font.h"

class QComboBox;
class QFontDialog;

namespace kl {

// Adds the list to the dialog's effects (the dialog must be Qt's own, not the desktop's) with
// the given colour chosen; a colour that is not one of the sixteen is listed as "Custom".
QComboBox* AddFontColorChoice(QFontDialog& dialog, TColor current);

// The colour chosen in the list.
TColor ChosenFontColor(const QComboBox& choice);

}  // namespace kl
