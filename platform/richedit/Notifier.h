#pragma once
// Sends the control's notifications to its host, honouring the event mask. Changes made while
// a message (or one of the person's actions) is being handled are folded: one EN_UPDATE and one
// EN_CHANGE when the text changed, one EN_SELCHANGE when the selection ends up different from
// what the host last heard, all sent when the outermost action completes and before the control
// repaints.

#include <functional>

#include "platform/richedit/RichEditControl.h"
#include "platform/richedit/RichEditTypes.h"

namespace richedit {

class Notifier {
 public:
  struct Selection {
    CHARRANGE range;
    WORD type;
  };
  using SelectionSource = std::function<Selection()>;
  using ShownSource = std::function<bool()>;

  // shown: whether the control is on screen; a hidden control has nothing to update.
  Notifier(HWND from, SelectionSource selection, ShownSource shown);

  void setSink(RichEditNotifySink* sink) { sink_ = sink; }
  void setMask(DWORD mask) {
    mask_ = mask;
    maskSet_ = true;
  }
  DWORD mask() const { return mask_; }
  // Whether the host asked for any of the bits.
  bool wants(DWORD bits) const { return sink_ != nullptr && (mask_ & bits) != 0; }

  // Brackets one action; notifications wait until the outermost one ends.
  void begin() { ++depth_; }
  void end();

  void textChanged();
  // The whole text was replaced (WM_SETTEXT): while its EN_CHANGE is sent, the event mask reads
  // without ENM_CHANGE, as the platform's does.
  void wholeTextReplaced();
  void selectionMaybeChanged();
  // While held, text changes send no EN_CHANGE (a whole-text load sends one afterwards).
  void holdChanges(bool hold) { held_ += hold ? 1 : -1; }
  // Takes the current selection as known to the host without telling it.
  void syncSelection();

  // Sends a WM_NOTIFY record whose first member is its NMHDR; answers the host's answer.
  template <typename Record>
  LRESULT notify(Record& record, UINT code) {
    record.nmhdr = {from_, 0, code};
    return sink_ != nullptr ? sink_->onNotify(record.nmhdr) : 0;
  }

 private:
  void flush();
  void tellChange();

  HWND from_;
  SelectionSource selection_;
  ShownSource shown_;
  RichEditNotifySink* sink_ = nullptr;
  DWORD mask_ = ENM_NONE;
  int depth_ = 0;
  int held_ = 0;
  bool changePending_ = false;
  bool wholeTextPending_ = false;
  bool maskSet_ = false;  // the host set a mask (while it was told of a new text)
  bool flushing_ = false;
  CHARRANGE known_{0, 0};
};

// Brackets one action on the notifier for the scope's life.
class NotifyBatch {
 public:
  explicit NotifyBatch(Notifier& notifier) : notifier_(notifier) { notifier_.begin(); }
  ~NotifyBatch() { notifier_.end(); }
  NotifyBatch(const NotifyBatch&) = delete;
  NotifyBatch& operator=(const NotifyBatch&) = delete;

 private:
  Notifier& notifier_;
};

}  // namespace richedit
