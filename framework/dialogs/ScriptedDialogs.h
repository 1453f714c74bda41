#pragma once
// Dialogs for tests: every answer is queued in advance and every request is recorded. A
// question that finds no queued answer throws std::logic_error naming it, so a test fails at
// once instead of waiting for a person. A message box with only an OK button asks nothing: it
// is recorded and answered OK without taking an answer from the queue.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/Font.h"
#include "framework/dialogs/Dialogs.h"

namespace kl {

class ScriptedDialogs : public IDialogs {
 public:
  // Answers, taken in the order queued.
  void QueueMessageResult(MsgResult result) { messageResults_.push_back(result); }
  void QueueInput(const std::string& text) { inputs_.emplace_back(text); }
  void QueueInputCancel() { inputs_.emplace_back(std::nullopt); }
  void QueueOpenFile(const std::string& path) { files_.emplace_back(path); }
  void QueueOpenFileCancel() { files_.emplace_back(std::nullopt); }
  void QueueFont(const TFont& font) { fonts_.emplace_back(font); }
  void QueueFontCancel() { fonts_.emplace_back(std::nullopt); }
  void QueueModalResult(int result) {
    modalResults_.push_back([result](QDialog&) { return result; });
  }
  // Acts on the form as a person would (choose a row, press a button) and answers its result.
  void QueueModalScript(std::function<int(QDialog& form)> script) {
    modalResults_.push_back(std::move(script));
  }
  void QueuePrinter(const PrintRequest& chosen) { printers_.emplace_back(chosen); }
  void QueuePrinterCancel() { printers_.emplace_back(std::nullopt); }
  // Looks at each form run modally while it is up, before its queued result is answered.
  std::function<void(QDialog& form)> OnModalForm;

  // What was asked, in order.
  const std::vector<MessageRequest>& Messages() const { return messages_; }
  const std::vector<InputRequest>& Inputs() const { return inputRequests_; }
  const std::vector<OpenFileRequest>& OpenFiles() const { return fileRequests_; }
  const std::vector<TFont>& FontsShown() const { return fontRequests_; }
  const std::vector<PrintRequest>& PrintersShown() const { return printRequests_; }
  // The object name (or, when it has none, the window title) of each form run modally.
  const std::vector<std::string>& ModalForms() const { return modalForms_; }

  // True when every queued answer has been taken.
  bool AllAnswersUsed() const;

  MsgResult MessageBox(const MessageRequest& request) override;
  std::string InputBox(const InputRequest& request) override;
  std::optional<std::string> OpenFile(const OpenFileRequest& request) override;
  bool ChooseFont(TFont& font) override;
  std::optional<PrintRequest> ChoosePrinter(const PrintRequest& request) override;
  int ExecModal(QDialog& form) override;

 private:
  std::deque<MsgResult> messageResults_;
  std::deque<std::optional<std::string>> inputs_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<TFont>> fonts_;
  std::deque<std::function<int(QDialog&)>> modalResults_;
  std::deque<std::optional<PrintRequest>> printers_;

  std::vector<MessageRequest> messages_;
  std::vector<InputRequest> inputRequests_;
  std::vector<OpenFileRequest> fileRequests_;
  std::vector<TFont> fontRequests_;
  std::vector<std::string> modalForms_;
  std::vector<PrintRequest> printRequests_;
};

// Installs fresh scripted dialogs as the program's dialogs and returns them; they stay in force
// until SetDialogs is called again (SetDialogs(nullptr) puts the Qt ones back).
ScriptedDialogs& InstallScriptedDialogs();

}  // namespace kl
