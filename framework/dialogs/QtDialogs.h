#pragma once
// The program's dialogs on Qt: message boxes and the input box centred on the screen, the open
// dialogs (with a picture preview where asked), the font dialog and the program's own forms.

#include "framework/dialogs/Dialogs.h"

namespace kl {

class QtDialogs : public IDialogs {
 public:
  MsgResult MessageBox(const MessageRequest& request) override;
  std::string InputBox(const InputRequest& request) override;
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  bool ChooseFont(TFont& font) override;
  std::optional<PrintRequest> ChoosePrinter(const PrintRequest& request) override;
  int ExecModal(QDialog& form) override;
};

}  // namespace kl
