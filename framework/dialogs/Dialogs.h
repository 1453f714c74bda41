#pragma once
// The dialogs seam: every modal question and every common dialog of the program goes through
// this one interface. The program installs the Qt implementation; tests install a scripted one
// that answers from a queue and records what was asked.

#include <memory>

class QDialog;
#include <optional>
#include <string>
#include <vector>

namespace kl {

class TFont;

enum class MsgIcon { None, Question, Error, Warning, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgResult { Ok, Yes, No, Cancel };

struct MessageRequest {
  std::string text;
  std::string caption;
  MsgIcon icon = MsgIcon::None;
  MsgButtons buttons = MsgButtons::Ok;
  std::vector<std::string> buttonTexts;  // as shown, with "&" access keys ("&Yes", "&No")
};

struct InputRequest {
  std::string caption;
  std::string prompt;
  std::string defaultValue;
  int maxLength = 0;  // characters; 0 means no limit
};

struct OpenFileRequest {
  std::string title;       // empty: the platform's default title
  std::string filter;      // "Description|*.ext|Description|*.*"
  int filterIndex = 1;     // 1-based, as the platform counts
  std::string defaultExt;  // ".klb"
  std::string initialDir;
  bool hideReadOnly = true;
  bool mustExist = false;
  bool withPreview = false;  // the picture dialog's preview pane
};

// The print dialog's settings: the platform's default options, the printer and the number of
// copies. An empty printer name is the system's default printer; an output file name means
// printing into that PDF file instead.
struct PrintRequest {
  std::string printerName;
  int copies = 1;
  std::string outputFileName;
};

class IDialogs {
 public:
  virtual ~IDialogs() = default;
  virtual MsgResult MessageBox(const MessageRequest& request) = 0;
  // Cancel answers the default value, as the platform's input box does.
  virtual std::string InputBox(const InputRequest& request) = 0;
  virtual std::optional<std::string> OpenFile(const OpenFileRequest& request) = 0;
  // The font is read for the dialog's start and written back when the user confirms.
  virtual bool ChooseFont(TFont& font) = 0;
  // The chosen printer and copies, or nothing when the user cancels.
  virtual std::optional<PrintRequest> ChoosePrinter(const PrintRequest& request) = 0;
  // Runs one of the program's own modal forms (the About dialog); answers QDialog's result.
  virtual int ExecModal(QDialog& form) = 0;
};

// The dialogs in force; the Qt ones unless a test installed others.
IDialogs& Dialogs();
// Installs replacement dialogs (tests); nullptr puts the Qt ones back.
void SetDialogs(std::unique_ptr<IDialogs> dialogs);

// The plain message box: OK button, no icon, the application title as caption.
void ShowMessage(const std::string& text);
// The one question of the program: question icon, caption "Confirm", "&Yes"/"&No".
MsgResult AskConfirmation(const std::string& text);

}  // namespace kl
