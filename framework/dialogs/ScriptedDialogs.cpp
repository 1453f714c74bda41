#include "framework/dialogs/ScriptedDialogs.h"

#include <QDialog>
#include <stdexcept>

namespace kl {
namespace {

template <typename T>
T TakeFront(std::deque<T>& queue, const std::string& request) {
  if (queue.empty()) throw std::logic_error("ScriptedDialogs: no answer queued for " + request);
  T answer = std::move(queue.front());
  queue.pop_front();
  return answer;
}

}  // namespace

bool ScriptedDialogs::AllAnswersUsed() const {
  return messageResults_.empty() && inputs_.empty() && files_.empty() && fonts_.empty() &&
         modalResults_.empty() && printers_.empty();
}

MsgResult ScriptedDialogs::MessageBox(const MessageRequest& request) {
  messages_.push_back(request);
  if (request.buttons == MsgButtons::Ok) return MsgResult::Ok;
  return TakeFront(messageResults_, "the message box \"" + request.text + "\" (caption \"" +
                                        request.caption + "\")");
}

std::string ScriptedDialogs::InputBox(const InputRequest& request) {
  inputRequests_.push_back(request);
  std::optional<std::string> answer =
      TakeFront(inputs_, "the input box \"" + request.caption + "\" (\"" + request.prompt + "\")");
  return answer ? *answer : request.defaultValue;
}

std::optional<std::string> ScriptedDialogs::OpenFile(const OpenFileRequest& request) {
  fileRequests_.push_back(request);
  return TakeFront(files_,
                   "the open dialog \"" + request.title + "\" (filter \"" + request.filter + "\")");
}

bool ScriptedDialogs::ChooseFont(TFont& font) {
  fontRequests_.push_back(font);
  std::optional<TFont> answer = TakeFront(fonts_, "the font dialog (font \"" + font.Name + "\")");
  if (!answer) return false;
  font = *answer;
  return true;
}

std::optional<PrintRequest> ScriptedDialogs::ChoosePrinter(const PrintRequest& request) {
  printRequests_.push_back(request);
  return TakeFront(printers_, "the print dialog");
}

int ScriptedDialogs::ExecModal(QDialog& form) {
  std::string name = form.objectName().toStdString();
  if (name.empty()) name = form.windowTitle().toStdString();
  modalForms_.push_back(name);
  if (OnModalForm) OnModalForm(form);
  return TakeFront(modalResults_, "the form \"" + name + "\"")(form);
}

ScriptedDialogs& InstallScriptedDialogs() {
  auto dialogs = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& installed = *dialogs;
  SetDialogs(std::move(dialogs));
  return installed;
}

}  // namespace kl
