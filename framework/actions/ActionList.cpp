#include "framework/actions/ActionList.h"

#include <QKeySequence>
#include <QWidget>

namespace kl {

TAction& TActionList::Add(const TActionSpec& spec) {
  auto action = std::make_unique<TAction>(spec.name);
  action->SetCategory(spec.category);
  action->SetCaption(spec.caption);
  action->SetHint(spec.hint);
  action->SetShortCut(spec.shortCut);
  action->SetImageIndex(spec.imageIndex, images_);
  action->SetAutoCheck(spec.autoCheck);
  actions_.push_back(std::move(action));
  return *actions_.back();
}

TAction* TActionList::Find(const std::string& name) const {
  for (const auto& action : actions_)
    if (action->Name() == name) return action.get();
  return nullptr;
}

void TActionList::AddShortCutsTo(QWidget& window) const {
  for (const auto& action : actions_)
    if (!action->ShortCut().isEmpty()) window.addAction(action->Handle());
}

}  // namespace kl
