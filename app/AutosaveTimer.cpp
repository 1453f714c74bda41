#include "app/AutosaveTimer.h"

namespace kl {

TQtAutosaveClock::TQtAutosaveClock() {
  timer_.setSingleShot(true);
  QObject::connect(&timer_, &QTimer::timeout, [this] {
    if (due_) due_();
  });
}

void TQtAutosaveClock::CallAfter(int ms, std::function<void()> due) {
  due_ = std::move(due);
  timer_.start(ms);
}

TAutosaveTimer::TAutosaveTimer(std::function<void()> autosave)
    : autosave_(std::move(autosave)), clock_(std::make_unique<TQtAutosaveClock>()) {}

void TAutosaveTimer::SetClock(std::unique_ptr<IAutosaveClock> clock) {
  clock_->Cancel();
  clock_ = std::move(clock);
}

void TAutosaveTimer::Changed() {
  changed_ = true;
  // Later changes do not move the wait on: typing without a pause is saved every DelayMs.
  if (!clock_->Waiting()) clock_->CallAfter(DelayMs, [this] { Due(); });
}

void TAutosaveTimer::Reset() {
  changed_ = false;
  clock_->Cancel();
}

void TAutosaveTimer::Failed() {
  changed_ = true;
  clock_->CallAfter(RetryMs, [this] { Due(); });
}

void TAutosaveTimer::Due() {
  if (!changed_) return;
  changed_ = false;
  autosave_();
}

}  // namespace kl
