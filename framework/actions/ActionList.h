#pragma once
// The window's one list of actions, in the order they were added, with the image list their
// glyphs come from. The list owns its actions.

#include <memory>
#include <string>
#include <vector>

#include "framework/actions/Action.h"

class QKeySequence;
class QWidget;

namespace kl {

class TImageList;

struct TActionSpec {
  std::string name;
  std::string category;
  std::string caption;
  std::string hint;
  QKeySequence shortCut;
  int imageIndex = -1;
  bool autoCheck = false;
};

class TActionList {
 public:
  explicit TActionList(const TImageList* images = nullptr) : images_(images) {}

  const TImageList* Images() const { return images_; }

  // Adds an action made from the description; the list keeps it.
  TAction& Add(const TActionSpec& spec);

  int Count() const { return int(actions_.size()); }
  TAction& operator[](int index) const { return *actions_[std::size_t(index)]; }
  // nullptr when no action has that name.
  TAction* Find(const std::string& name) const;

  // Makes every action's shortcut work while the focus is anywhere in the window.
  void AddShortCutsTo(QWidget& window) const;

 private:
  const TImageList* images_;
  std::vector<std::unique_ptr<TAction>> actions_;
};

}  // namespace kl
