#include "platform/richedit/Notifier.h"

namespace richedit {

Notifier::Notifier(HWND from, SelectionSource selection)
    : from_(from), selection_(std::move(selection)) {}

void Notifier::end() {
  if (--depth_ == 0) flush();
}

void Notifier::textChanged() {
  if (held_ > 0) return;
  changePending_ = true;
  if (depth_ == 0) flush();
}

void Notifier::selectionMaybeChanged() {
  if (depth_ == 0) flush();
}

void Notifier::syncSelection() {
  known_ = selection_().range;
}

void Notifier::flush() {
  // A host handler may send messages back; what they change is told after it returns, a few
  // rounds at most so that two handlers answering each other cannot loop for ever.
  if (flushing_) return;
  flushing_ = true;
  ++depth_;
  for (int round = 0; round < 4; ++round) {
    bool told = false;
    if (changePending_) {
      changePending_ = false;
      told = true;
      if (wants(ENM_CHANGE)) sink_->onCommandNotify(EN_CHANGE);
    }
    const Selection now = selection_();
    if (now.range.cpMin != known_.cpMin || now.range.cpMax != known_.cpMax) {
      known_ = now.range;
      told = true;
      if (wants(ENM_SELCHANGE)) {
        SELCHANGE record{};
        record.chrg = now.range;
        record.seltyp = now.type;
        notify(record, EN_SELCHANGE);
      }
    }
    if (!told) break;
  }
  changePending_ = false;
  --depth_;
  flushing_ = false;
}

}  // namespace richedit
