#include "editor/KlTextAttributes.h"

#include <algorithm>
#include <cstring>

#include "editor/KlCustomRichEdit.h"
#include "editor/KlRichEd.h"
#include "platform/richedit/RichEditTypes.h"

namespace kl {

using namespace richedit;

namespace {

WPARAM KindParam(CharFormatKind kind) {
  switch (kind) {
    case CharFormatKind::DefaultText:
      return SCF_DEFAULT;
    case CharFormatKind::Selection:
      return SCF_SELECTION;
    case CharFormatKind::CaretWord:
      return SCF_SELECTION | SCF_WORD;
  }
  return SCF_SELECTION;
}

LPARAM AsLParam(const void* p) {
  return reinterpret_cast<LPARAM>(p);
}

// The face name cut to 31 bytes, on a character boundary, with its terminating zero.
void SetFace(CHARFORMAT2A& format, const std::string& name) {
  std::size_t n = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
  while (n > 0 && n < name.size() && (static_cast<unsigned char>(name[n]) & 0xC0) == 0x80) --n;
  std::memset(format.szFaceName, 0, sizeof(format.szFaceName));
  std::memcpy(format.szFaceName, name.data(), n);
}

DWORD EffectBits(TFontStyles style) {
  return DWORD(style.bits());
}

BYTE PitchBits(TFontPitch pitch) {
  switch (pitch) {
    case TFontPitch::Variable:
      return VARIABLE_PITCH;
    case TFontPitch::Fixed:
      return FIXED_PITCH;
    default:
      return DEFAULT_PITCH;
  }
}

bool IsAutoColor(TColor color) {
  return color == clWindowText || color == clDefault;
}

}  // namespace

TKlTextAttributes::TKlTextAttributes(TKlCustomRichEdit& owner, CharFormatKind kind)
    : owner_(owner), kind_(kind) {}

void TKlTextAttributes::InitFormat(CHARFORMAT2A& format) const {
  std::memset(&format, 0, sizeof(format));
  format.cbSize = RichEditVersion() >= 2 ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
}

CHARFORMAT2A TKlTextAttributes::GetAttributes() const {
  CHARFORMAT2A format;
  InitFormat(format);
  if (owner_.HandleAllocated())
    owner_.Perform(EM_GETCHARFORMAT, KindParam(kind_), AsLParam(&format));
  return format;
}

void TKlTextAttributes::SetAttributes(CHARFORMAT2A& format) {
  if (owner_.HandleAllocated())
    owner_.Perform(EM_SETCHARFORMAT, KindParam(kind_), AsLParam(&format));
}

std::string TKlTextAttributes::Name() const {
  const CHARFORMAT2A format = GetAttributes();
  return std::string(format.szFaceName, strnlen(format.szFaceName, LF_FACESIZE));
}

void TKlTextAttributes::SetName(const std::string& name) {
  CHARFORMAT2A format;
  InitFormat(format);
  format.dwMask = CFM_FACE;
  SetFace(format, name);
  SetAttributes(format);
}

int TKlTextAttributes::Size() const {
  return GetAttributes().yHeight / 20;
}

TFontStyles TKlTextAttributes::Style() const {
  return TFontStyles::fromBits(std::uint8_t(GetAttributes().dwEffects & 0x0F));
}

void TKlTextAttributes::SetStyle(TFontStyles style) {
  CHARFORMAT2A format;
  InitFormat(format);
  format.dwMask = CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  format.dwEffects = EffectBits(style);
  SetAttributes(format);
}

TColor TKlTextAttributes::Color() const {
  const CHARFORMAT2A format = GetAttributes();
  if (format.dwEffects & CFE_AUTOCOLOR) return clWindowText;
  return format.crTextColor;
}

void TKlTextAttributes::SetColor(TColor color) {
  CHARFORMAT2A format;
  InitFormat(format);
  format.dwMask = CFM_COLOR;
  if (IsAutoColor(color))
    format.dwEffects = CFE_AUTOCOLOR;
  else
    format.crTextColor = ColorToRGB(color);
  SetAttributes(format);
}

TFontCharset TKlTextAttributes::Charset() const {
  return GetAttributes().bCharSet;
}

void TKlTextAttributes::SetCharset(TFontCharset charset) {
  CHARFORMAT2A format;
  InitFormat(format);
  format.dwMask = CFM_CHARSET;
  format.bCharSet = charset;
  SetAttributes(format);
}

TFontPitch TKlTextAttributes::Pitch() const {
  switch (GetAttributes().bPitchAndFamily & 0x03) {
    case FIXED_PITCH:
      return TFontPitch::Fixed;
    case VARIABLE_PITCH:
      return TFontPitch::Variable;
    default:
      return TFontPitch::Default;
  }
}

void TKlTextAttributes::SetPitch(TFontPitch pitch) {
  // The record has no mask bit for the pitch alone; the control decides what this changes.
  CHARFORMAT2A format;
  InitFormat(format);
  format.bPitchAndFamily = PitchBits(pitch);
  SetAttributes(format);
}

void TKlTextAttributes::ApplyFont(const TFont& font) {
  CHARFORMAT2A format;
  InitFormat(format);
  format.bPitchAndFamily = PitchBits(font.Pitch);
  format.dwMask =
      CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_FACE | CFM_COLOR;
  format.yHeight = font.Size * 20;
  format.dwEffects = EffectBits(font.Style);
  SetFace(format, font.Name);
  if (IsAutoColor(font.Color))
    format.dwEffects |= CFE_AUTOCOLOR;
  else
    format.crTextColor = ColorToRGB(font.Color);
  format.dwMask |= CFM_CHARSET;
  format.bCharSet = font.Charset;
  // The framework's font always describes its logical weight.
  format.dwMask |= CFM_WEIGHT;
  format.wWeight = WORD(font.Weight());
  SetAttributes(format);
}

void TKlTextAttributes::Assign(const TPersistent& source) {
  if (const auto* other = dynamic_cast<const TKlTextAttributes*>(&source)) {
    CHARFORMAT2A format = other->GetAttributes();
    format.cbSize = RichEditVersion() >= 2 ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA);
    SetAttributes(format);
    return;
  }
  TPersistent::Assign(source);
}

void TKlTextAttributes::AssignTo(TFont& font) const {
  font.Color = Color();
  font.Name = Name();
  font.Charset = Charset();
  font.Style = Style();
  font.Size = Size();
  font.Pitch = Pitch();
}

void TKlTextAttributes::AssignTo(TPersistent& dest) const {
  TPersistent::AssignTo(dest);
}

}  // namespace kl
