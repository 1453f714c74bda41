#pragma once
// A command of a window: caption, hint, shortcut, image, enabled and checked state and the
// handler that carries it out. Menu items, tool buttons and shortcuts share the one QAction
// behind it, so they always show the same state.
//
// Rules: executing a disabled action does nothing, from the user or from code; an auto-check
// action flips its checked state before its handler runs; a disabled action's shortcut is not
// taken, so the key reaches the focused control.

#include <QKeySequence>
#include <memory>
#include <string>

#include "framework/Object.h"

class QAction;

namespace kl {

class TImageList;

class TAction : public TObject {
 public:
  explicit TAction(std::string name);
  ~TAction() override;
  TAction(const TAction&) = delete;
  TAction& operator=(const TAction&) = delete;

  // The QAction that menus, tool buttons and the window's shortcuts are linked to.
  QAction* Handle() const { return action_.get(); }

  const std::string& Name() const { return name_; }
  const std::string& Category() const { return category_; }
  void SetCategory(const std::string& category) { category_ = category; }

  // The caption with "&" before the access key.
  std::string Caption() const;
  void SetCaption(const std::string& caption);

  // "short|long": tool tips show the short text; the long one is only stored.
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& hint);
  std::string ShortHint() const;
  std::string LongHint() const;

  QKeySequence ShortCut() const;
  void SetShortCut(const QKeySequence& shortCut);

  int ImageIndex() const { return imageIndex_; }
  // Takes the glyph from the image list (when one is given) at once.
  void SetImageIndex(int index, const TImageList* images = nullptr);

  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool autoCheck);

  bool Enabled() const;
  void SetEnabled(bool enabled);

  bool Checked() const;
  // Updates the action and everything linked to it; never runs the handler.
  void SetChecked(bool checked);

  TNotifyEvent OnExecute;

  // Runs the command as a click would. Answers false, and does nothing, while disabled.
  // Failures of the handler reach the caller.
  bool Execute();

 private:
  void Triggered();
  void UpdateToolTip();

  std::string name_;
  std::string category_;
  std::string hint_;
  int imageIndex_ = -1;
  bool autoCheck_ = false;
  bool checked_ = false;  // the checked state of an action that is not auto-check
  std::unique_ptr<QAction> action_;
};

}  // namespace kl
