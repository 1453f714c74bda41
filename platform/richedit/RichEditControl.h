#pragma once
// The rich-edit control: a rich text editing window reached only through Perform (the
// platform's message entry point) and heard from only through its notification sink.

#include <QWidget>
#include <functional>
#include <memory>

#include "RichEditTypes.h"

namespace richedit {

// What the control tells its host: EN_CHANGE and the other command notifications as a code,
// everything else as a WM_NOTIFY record whose answer goes back to the control (for example 1
// from EN_PROTECTED refuses the change).
class RichEditNotifySink {
 public:
  virtual ~RichEditNotifySink() = default;
  virtual void onCommandNotify(WORD code) = 0;
  virtual LRESULT onNotify(NMHDR& header) = 0;
};

class RichEditEngine;  // the document, layout and message handlers behind the window

class RichEditControl : public QWidget {
 public:
  // style: the window style bits (ES_*, WS_*); className: the registered class asked for.
  RichEditControl(DWORD style, QWidget* parent = nullptr);
  ~RichEditControl() override;

  // The one entry point. A message the control does not support answers 0.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);

  void setNotifySink(RichEditNotifySink* sink);

  // Sees every message before the control handles it; tests use it to record what a host sends.
  using MessageHook = std::function<void(UINT msg, WPARAM wParam, LPARAM lParam)>;
  void setMessageHook(MessageHook hook);

  DWORD style() const;

 private:
  std::unique_ptr<RichEditEngine> engine_;
};

}  // namespace richedit
