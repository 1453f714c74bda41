#pragma once
// The modeless find and replace dialogs: a find text (and a replace text) of at most 255
// characters, match case, whole word, the direction (find dialog only) and the buttons Find
// Next, Replace, Replace All and Close. Each press rebuilds Options from the controls and
// raises OnFind or OnReplace; closing raises OnClose. Texts, options and position stay
// between showings.

#include <QPointer>
#include <string>

#include "framework/Object.h"
#include "framework/Set.h"
#include "framework/Types.h"

class QDialog;
class QWidget;
class QLineEdit;
class QCheckBox;
class QRadioButton;
class QPushButton;
class QGroupBox;

namespace kl {

// Members map one to one onto the platform's FINDREPLACE flags.
enum class TFindOption {
  frDown,
  frFindNext,
  frHideMatchCase,
  frHideWholeWord,
  frHideUpDown,
  frMatchCase,
  frDisableMatchCase,
  frDisableUpDown,
  frDisableWholeWord,
  frReplace,
  frReplaceAll,
  frWholeWord,
  frShowHelp
};
using TFindOptions = TSet<TFindOption>;

class TFindDialog : public TObject {
 public:
  static constexpr int MaxTextLength = 255;

  // owner: the widget the dialog belongs to; the dialog window stays above its window.
  explicit TFindDialog(QWidget* owner);
  ~TFindDialog() override;
  TFindDialog(const TFindDialog&) = delete;
  TFindDialog& operator=(const TFindDialog&) = delete;

  const std::string& FindText() const { return findText_; }
  void SetFindText(const std::string& text);
  TFindOptions Options;

  // Shows the dialog without blocking; a dialog already shown only comes to the front.
  void Execute();
  void CloseDialog();
  // The dialog's window while it is shown, else nullptr.
  QWidget* Handle() const;
  // The window's frame on the screen, and its top-left corner.
  TRect WindowRect() const;
  TPoint Position() const;
  void SetPosition(const TPoint& point);

  TNotifyEvent OnFind;
  TNotifyEvent OnClose;

 protected:
  enum class Kind { Find, Replace };
  TFindDialog(QWidget* owner, Kind kind);

  // A press of one of the buttons: the texts and Options from the controls, then the event.
  void Pressed(TFindOption button);
  virtual void TakeTexts();
  virtual void ShowTexts();

  Kind kind_;
  QPointer<QDialog> window_;
  QLineEdit* findEdit_ = nullptr;
  QLineEdit* replaceEdit_ = nullptr;

 private:
  void Build();
  void ShowOptions();
  void UpdateButtons();
  void Closed();

  QWidget* owner_;
  std::string findText_;
  QCheckBox* matchCase_ = nullptr;
  QCheckBox* wholeWord_ = nullptr;
  QGroupBox* direction_ = nullptr;
  QRadioButton* up_ = nullptr;
  QRadioButton* down_ = nullptr;
  QPushButton* findNext_ = nullptr;
  QPushButton* replace_ = nullptr;
  QPushButton* replaceAll_ = nullptr;
  bool closing_ = false;
};

class TReplaceDialog : public TFindDialog {
 public:
  explicit TReplaceDialog(QWidget* owner);

  const std::string& ReplaceText() const { return replaceText_; }
  void SetReplaceText(const std::string& text);

  TNotifyEvent OnReplace;

 protected:
  void TakeTexts() override;
  void ShowTexts() override;

 private:
  friend class TFindDialog;
  std::string replaceText_;
};

}  // namespace kl
