#include "platform/richedit/Notifier.h"

namespace richedit {

Notifier::Notifier(HWND from, SelectionSource selection, ShownSource shown)
    : from_(from), selection_(std::move(selection)), shown_(std::move(shown)) {}

void Notifier::end() {
  if (--depth_ == 0) flush();
}

void Notifier::textChanged() {
  if (held_ > 0) return;
  changePending_ = true;
  if (depth_ == 0) flush();
}

void Notifier::wholeTextReplaced() {
  if (held_ > 0) return;
  wholeTextPending_ = true;
  textChanged();
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
      told = true;
      tellChange();
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
  wholeTextPending_ = false;
  --depth_;
  flushing_ = false;
}

// EN_UPDATE comes first, while what changed is not yet shown; then EN_CHANGE.
void Notifier::tellChange() {
  changePending_ = false;
  const bool wholeText = wholeTextPending_;
  wholeTextPending_ = false;
  if (wants(ENM_UPDATE) && shown_ && shown_()) sink_->onCommandNotify(EN_UPDATE);
  if (!wants(ENM_CHANGE)) return;
  if (!wholeText) {
    sink_->onCommandNotify(EN_CHANGE);
    return;
  }
  const DWORD asked = mask_;
  mask_ &= ~ENM_CHANGE;
  maskSet_ = false;
  sink_->onCommandNotify(EN_CHANGE);
  // A mask the host set meanwhile stands; otherwise its own comes back.
  if (!maskSet_) mask_ = asked;
}

}  // namespace richedit
