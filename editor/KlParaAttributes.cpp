#include "editor/KlParaAttributes.h"

#include <cstring>
#include <string>

#include "editor/KlCustomRichEdit.h"
#include "editor/KlRichEd.h"
#include "framework/Exception.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl {

using namespace richedit;

namespace {

LPARAM AsLParam(const void* p) {
  return reinterpret_cast<LPARAM>(p);
}

}  // namespace

TKlParaAttributes::TKlParaAttributes(TKlCustomRichEdit& owner) : owner_(owner) {}

void TKlParaAttributes::InitPara(PARAFORMAT2& para) const {
  std::memset(&para, 0, sizeof(para));
  para.cbSize = RichEditVersion() >= 2 ? sizeof(PARAFORMAT2) : sizeof(PARAFORMAT);
}

PARAFORMAT2 TKlParaAttributes::GetAttributes() const {
  PARAFORMAT2 para;
  InitPara(para);
  if (owner_.HandleAllocated()) owner_.Perform(EM_GETPARAFORMAT, 0, AsLParam(&para));
  return para;
}

void TKlParaAttributes::SetAttributes(PARAFORMAT2& para) {
  owner_.HandleNeeded();
  // Under right-to-left layout the control's left and right are the reader's right and left.
  if (owner_.UseRightToLeftAlignment()) {
    if (para.wAlignment == PFA_LEFT)
      para.wAlignment = PFA_RIGHT;
    else if (para.wAlignment == PFA_RIGHT)
      para.wAlignment = PFA_LEFT;
  }
  // The control leaves the modified flag as it was for a paragraph format; a changed
  // alignment or bullet is a change to the entry all the same, and must not be lost on close.
  const PARAFORMAT2 before = GetAttributes();
  owner_.Perform(EM_SETPARAFORMAT, 0, AsLParam(&para));
  const PARAFORMAT2 after = GetAttributes();
  if (std::memcmp(&before, &after, sizeof before) != 0) owner_.SetModified(true);
}

ParagraphAlignment TKlParaAttributes::Alignment() const {
  // Without a window (no alignment in the record) the paragraph reads as left-aligned.
  const WORD alignment = GetAttributes().wAlignment;
  if (alignment < PFA_LEFT || alignment > PFA_JUSTIFY) return ParagraphAlignment::AlignLeft;
  return ParagraphAlignment(alignment - 1);
}

void TKlParaAttributes::SetAlignment(ParagraphAlignment alignment) {
  PARAFORMAT2 para;
  InitPara(para);
  para.dwMask = PFM_ALIGNMENT;
  para.wAlignment = WORD(int(alignment) + 1);
  SetAttributes(para);
}

NumberingStyle TKlParaAttributes::Numbering() const {
  WORD numbering = GetAttributes().wNumbering & 0xFF;
  if (RichEditVersion() == 1 && numbering != 0) numbering = PFN_BULLET;
  return NumberingStyle(numbering);
}

void TKlParaAttributes::SetNumbering(NumberingStyle numbering) {
  WORD value = WORD(numbering);
  if (RichEditVersion() == 1 && value != 0) value = PFN_BULLET;
  if (value == 0)
    SetIndentOffset(0);
  else if (IndentOffset() < 10)
    SetIndentOffset(10);  // room for the bullet
  PARAFORMAT2 para;
  InitPara(para);
  para.dwMask = PFM_NUMBERING;
  para.wNumbering = value;
  SetAttributes(para);
}

int TKlParaAttributes::StartIndent() const {
  return GetAttributes().dxStartIndent / 20;
}

void TKlParaAttributes::SetStartIndent(int points) {
  PARAFORMAT2 para;
  InitPara(para);
  para.dwMask = PFM_STARTINDENT;
  para.dxStartIndent = points * 20;
  SetAttributes(para);
}

int TKlParaAttributes::IndentOffset() const {
  return GetAttributes().dxOffset / 20;
}

void TKlParaAttributes::SetIndentOffset(int points) {
  PARAFORMAT2 para;
  InitPara(para);
  para.dwMask = PFM_OFFSET;
  para.dxOffset = points * 20;
  SetAttributes(para);
}

int TKlParaAttributes::RightIndent() const {
  return GetAttributes().dxRightIndent / 20;
}

void TKlParaAttributes::SetRightIndent(int points) {
  PARAFORMAT2 para;
  InitPara(para);
  para.dwMask = PFM_RIGHTINDENT;
  para.dxRightIndent = points * 20;
  SetAttributes(para);
}

void TKlParaAttributes::CheckTabIndex(int index) {
  if (index < 0 || index >= MaxTabStops)
    throw Exception("Tab stop index out of range (" + std::to_string(index) + ")");
}

int TKlParaAttributes::TabPosition(int index) const {
  CheckTabIndex(index);
  return GetAttributes().rgxTabs[index] / 20;
}

void TKlParaAttributes::SetTabPosition(int index, int points) {
  CheckTabIndex(index);
  PARAFORMAT2 para = GetAttributes();
  para.rgxTabs[index] = points * 20;
  para.dwMask = PFM_TABSTOPS;
  if (para.cTabCount <= index) para.cTabCount = SHORT(index + 1);
  SetAttributes(para);
}

void TKlParaAttributes::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TKlParaAttributes*>(&source)) {
    PARAFORMAT2 para = other->GetAttributes();
    para.cbSize = RichEditVersion() >= 2 ? sizeof(PARAFORMAT2) : sizeof(PARAFORMAT);
    SetAttributes(para);
    return;
  }
  TPersistent::Assign(source);
}

}  // namespace kl
