#include "framework/Font.h"

namespace kl {

namespace {

// This platform's standard values for the system colours the program uses, indexed by the low
// byte of the symbolic value.
TColor SystemColor(std::uint8_t index) {
  switch (index) {
    case 5:  // window background
      return 0xFFFFFF;
    case 8:  // window text
      return 0x000000;
    case 15:  // button face
      return 0xF0F0F0;
    default:
      return 0x000000;
  }
}

}  // namespace

TColor ColorToRGB(TColor color) {
  if ((color & 0xFF000000) == 0xFF000000) return SystemColor(std::uint8_t(color & 0xFF));
  if (color == clDefault) return SystemColor(5);  // a control's own default: its background
  if (color == clNone) return 0x000000;
  return color & 0x00FFFFFF;
}

}  // namespace kl
