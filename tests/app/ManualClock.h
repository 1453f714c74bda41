#pragma once
// An autosave clock that moves only when the test says so.

#include <functional>
#include <optional>

#include "app/AutosaveTimer.h"

namespace kl::testing {

class ManualClock : public IAutosaveClock {
 public:
  void CallAfter(int ms, std::function<void()> due) override {
    dueAt_ = now_ + ms;
    due_ = std::move(due);
  }
  void Cancel() override { dueAt_.reset(); }
  bool Waiting() const override { return dueAt_.has_value(); }

  // Moves time on by ms, making every call that falls due on the way.
  void Advance(long long ms) {
    const long long target = now_ + ms;
    while (dueAt_ && *dueAt_ <= target) {
      now_ = *dueAt_;
      dueAt_.reset();
      std::function<void()> due = std::move(due_);
      due();
    }
    now_ = target;
  }

 private:
  long long now_ = 0;
  std::optional<long long> dueAt_;
  std::function<void()> due_;
};

}  // namespace kl::testing
