#include "framework/actions/Action.h"

#include <QAction>
#include <exception>

#include "framework/Application.h"
#include "framework/actions/ImageList.h"

namespace kl {

namespace {

QString ToQt(const std::string& text) {
  return QString::fromStdString(text);
}

}  // namespace

TAction::TAction(std::string name) : name_(std::move(name)), action_(std::make_unique<QAction>()) {
  action_->setObjectName(ToQt(name_));
  // The window's shortcuts work wherever the focus is inside it.
  action_->setShortcutContext(Qt::WindowShortcut);
  // Menu items, tool buttons and shortcuts reach the command here; the checkable state has
  // already flipped when the signal arrives.
  QObject::connect(action_.get(), &QAction::triggered, action_.get(), [this] { Triggered(); });
}

TAction::~TAction() = default;

std::string TAction::Caption() const {
  return action_->text().toStdString();
}

void TAction::SetCaption(const std::string& caption) {
  action_->setText(ToQt(caption));
  action_->setIconText(ToQt(caption));
  UpdateToolTip();
}

void TAction::SetHint(const std::string& hint) {
  hint_ = hint;
  // The long text is kept with the action only; this window has no place that shows it.
  UpdateToolTip();
}

std::string TAction::ShortHint() const {
  return hint_.substr(0, hint_.find('|'));
}

std::string TAction::LongHint() const {
  const auto bar = hint_.find('|');
  return bar == std::string::npos ? hint_ : hint_.substr(bar + 1);
}

void TAction::UpdateToolTip() {
  // Without a hint Qt would show the caption, access-key marker included.
  action_->setToolTip(ToQt(ShortHint()));
}

QKeySequence TAction::ShortCut() const {
  return action_->shortcut();
}

void TAction::SetShortCut(const QKeySequence& shortCut) {
  action_->setShortcut(shortCut);
}

void TAction::SetImageIndex(int index, const TImageList* images) {
  imageIndex_ = index;
  action_->setIcon(images ? images->Icon(index) : QIcon());
}

void TAction::SetAutoCheck(bool autoCheck) {
  autoCheck_ = autoCheck;
  const bool checked = checked_;
  action_->setCheckable(autoCheck);
  if (autoCheck) action_->setChecked(checked);
}

bool TAction::Enabled() const {
  return action_->isEnabled();
}

void TAction::SetEnabled(bool enabled) {
  action_->setEnabled(enabled);
}

bool TAction::Checked() const {
  return autoCheck_ ? action_->isChecked() : checked_;
}

void TAction::SetChecked(bool checked) {
  checked_ = checked;
  if (autoCheck_) action_->setChecked(checked);
}

bool TAction::Execute() {
  if (!Enabled()) return false;
  if (autoCheck_) action_->setChecked(!action_->isChecked());
  Raise(OnExecute, this);
  return true;
}

void TAction::Triggered() {
  // A click or a shortcut has no caller to hand a failure to: the application reports it.
  try {
    Raise(OnExecute, this);
  } catch (const std::exception& failure) {
    Application().HandleException(failure);
  }
}

}  // namespace kl
