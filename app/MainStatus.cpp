// The status bar's caret panel: the line and column of the selection start, counted in the
// editor's display lines, both from 1.
#include <cstdio>

#include "app/MainForm.h"
#include "app/StatusPanels.h"
#include "editor/KlRichEdit.h"

namespace kl {

void TfrmMain::UpdateCaretPosition() {
  const int start = rchMain->SelectionStart();
  const int line = rchMain->LineFromChar(start);
  const int column = start - rchMain->LineIndex(line);
  char text[64];
  std::snprintf(text, sizeof text, "Line: %3d   Col: %3d", line + 1, column + 1);
  stbMain->SetText(0, text);
}

}  // namespace kl
