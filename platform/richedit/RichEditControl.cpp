#include "platform/richedit/RichEditControl.h"

#include <QVBoxLayout>

#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

RichEditControl::RichEditControl(DWORD style, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new RichEditView(this);
  layout->addWidget(view);
  setFocusProxy(view);
  setFocusPolicy(Qt::StrongFocus);
  engine_ = std::make_unique<RichEditEngine>(*this, *view, style);
}

RichEditControl::~RichEditControl() {
  // The host hears about the clipboard while the control can still answer its questions.
  engine_->aboutToBeDestroyed();
  engine_.reset();
}

LRESULT RichEditControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (engine_->messageHook()) engine_->messageHook()(msg, wParam, lParam);
  return engine_->dispatch(msg, wParam, lParam);
}

void RichEditControl::setNotifySink(RichEditNotifySink* sink) {
  engine_->setNotifySink(sink);
}

void RichEditControl::setMessageHook(MessageHook hook) {
  engine_->setMessageHook(std::move(hook));
}

DWORD RichEditControl::style() const {
  return engine_->style();
}

}  // namespace richedit
