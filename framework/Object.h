#pragma once
// The base of everything that can be the sender of an event, and the event types. An event is
// a std::function member taking the sender first; raising an unassigned event does nothing.

#include <functional>

namespace kl {

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Raises an event when a handler is assigned.
template <typename Event, typename... Args>
void Raise(const Event& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

}  // namespace kl
