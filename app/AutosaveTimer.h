#pragma once
// When the open entry is autosaved: the first change since the last autosave starts a wait of
// two seconds, and the autosave runs when it ends, so continuous typing is saved every two
// seconds and an entry nobody touches is never written. A failed autosave tries again later.

#include <QTimer>
#include <functional>
#include <memory>

namespace kl {

// The clock the autosave waits on: Qt's timers in the program, one the tests move by hand.
class IAutosaveClock {
 public:
  virtual ~IAutosaveClock() = default;
  // Calls due once, after ms milliseconds; replaces a call still waiting.
  virtual void CallAfter(int ms, std::function<void()> due) = 0;
  virtual void Cancel() = 0;
  virtual bool Waiting() const = 0;
};

class TQtAutosaveClock : public IAutosaveClock {
 public:
  TQtAutosaveClock();
  void CallAfter(int ms, std::function<void()> due) override;
  void Cancel() override { timer_.stop(); }
  bool Waiting() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
  std::function<void()> due_;
};

class TAutosaveTimer {
 public:
  static constexpr int DelayMs = 2000;
  static constexpr int RetryMs = 10000;

  explicit TAutosaveTimer(std::function<void()> autosave);
  void SetClock(std::unique_ptr<IAutosaveClock> clock);

  // The entry changed.
  void Changed();
  // The entry was saved, loaded or replaced: nothing is waiting to be autosaved.
  void Reset();
  // The last autosave failed: the text is still unsaved, try again after RetryMs.
  void Failed();
  bool Waiting() const { return clock_->Waiting(); }

 private:
  void Due();

  std::function<void()> autosave_;
  std::unique_ptr<IAutosaveClock> clock_;
  bool changed_ = false;
};

}  // namespace kl
