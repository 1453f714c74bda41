#pragma once
// The framework's font: what the font dialog edits and what the editor's attribute objects
// read from and write to. A value type.

#include <cstdint>
#include <initializer_list>
#include <string>

namespace kl {

// Colours as the framework keeps them: an RGB value (0x00BBGGRR) or a symbolic system colour.
using TColor = std::uint32_t;
constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = 0xFF000008;
constexpr TColor clWindow = 0xFF000005;
constexpr TColor clBtnFace = 0xFF00000F;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clNone = 0x1FFFFFFF;

// The RGB value of a colour; system colours take this platform's standard values.
TColor ColorToRGB(TColor color);

enum class TFontStyle : std::uint8_t { Bold, Italic, Underline, StrikeOut };

// A set of font styles, with the members in the order bold, italic, underline, strike-out.
class TFontStyles {
 public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) bits_ |= bit(s);
  }
  constexpr bool contains(TFontStyle s) const { return (bits_ & bit(s)) != 0; }
  constexpr TFontStyles& include(TFontStyle s) {
    bits_ |= bit(s);
    return *this;
  }
  constexpr TFontStyles& exclude(TFontStyle s) {
    bits_ &= std::uint8_t(~bit(s));
    return *this;
  }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr std::uint8_t bits() const { return bits_; }
  static constexpr TFontStyles fromBits(std::uint8_t bits) {
    TFontStyles s;
    s.bits_ = bits & 0x0F;
    return s;
  }
  friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

 private:
  static constexpr std::uint8_t bit(TFontStyle s) { return std::uint8_t(1u << unsigned(s)); }
  std::uint8_t bits_ = 0;
};

enum class TFontPitch : std::uint8_t { Default, Variable, Fixed };

using TFontCharset = std::uint8_t;
constexpr TFontCharset DEFAULT_CHARSET = 1;

class TFont {
 public:
  TColor Color = clWindowText;
  std::string Name = "MS Sans Serif";
  TFontCharset Charset = DEFAULT_CHARSET;
  TFontStyles Style;
  int Size = 8;  // points
  TFontPitch Pitch = TFontPitch::Default;

  // The logical-font weight the font stands for: 700 when bold, else 400.
  int Weight() const { return Style.contains(TFontStyle::Bold) ? 700 : 400; }
  // Height in pixels at 96 per inch, negative as the platform gives a character height.
  int Height() const { return -(Size * 96 + 36) / 72; }

  friend bool operator==(const TFont&, const TFont&) = default;
};

}  // namespace kl
