#pragma once
// The editor's embedded-object callback: what the control asks the host about objects it
// inserts, shows and drags. It answers nothing of its own yet beyond knowing its editor.

#include "platform/richedit/RichEditOle.h"

namespace kl {

class TKlCustomRichEdit;

class TRichEditOleCallback : public richedit::IRichEditOleCallback {
 public:
  explicit TRichEditOleCallback(TKlCustomRichEdit& owner) : owner_(owner) {}
  TKlCustomRichEdit& Owner() const { return owner_; }

 private:
  TKlCustomRichEdit& owner_;
};

}  // namespace kl
