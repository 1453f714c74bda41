#include "framework/dialogs/Dialogs.h"

#include "framework/Application.h"
#include "framework/dialogs/QtDialogs.h"

namespace kl {
namespace {

std::unique_ptr<IDialogs>& Installed() {
  static std::unique_ptr<IDialogs> dialogs;
  return dialogs;
}

}  // namespace

IDialogs& Dialogs() {
  std::unique_ptr<IDialogs>& dialogs = Installed();
  if (!dialogs) dialogs = std::make_unique<QtDialogs>();
  return *dialogs;
}

void SetDialogs(std::unique_ptr<IDialogs> dialogs) {
  Installed() = std::move(dialogs);
}

void ShowMessage(const std::string& text) {
  MessageRequest request;
  request.text = text;
  request.caption = Application().Title();
  request.icon = MsgIcon::None;
  request.buttons = MsgButtons::Ok;
  request.buttonTexts = {"OK"};
  Dialogs().MessageBox(request);
}

MsgResult AskConfirmation(const std::string& text) {
  MessageRequest request;
  request.text = text;
  request.caption = "Confirm";
  request.icon = MsgIcon::Question;
  request.buttons = MsgButtons::YesNo;
  request.buttonTexts = {"&Yes", "&No"};
  return Dialogs().MessageBox(request);
}

}  // namespace kl
