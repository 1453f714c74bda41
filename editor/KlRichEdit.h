#pragma once
// The editor control as the program's windows use it; everything is TKlCustomRichEdit's.

#include "editor/KlCustomRichEdit.h"

namespace kl {

class TKlRichEdit : public TKlCustomRichEdit {
 public:
  using TKlCustomRichEdit::TKlCustomRichEdit;
};

}  // namespace kl
