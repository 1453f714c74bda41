#pragma once
// The values a character and a paragraph of the document carry, numbered as the platform's
// format records number them. The document, the RTF reader and writer and the control's
// format messages all speak in these codes.

#include <cstdint>

namespace richedit {

using BYTE = std::uint8_t;
using WORD = std::uint16_t;

// Underline types (bUnderlineType, CFM_UNDERLINETYPE).
constexpr BYTE CFU_UNDERLINENONE = 0;
constexpr BYTE CFU_UNDERLINE = 1;
constexpr BYTE CFU_UNDERLINEWORD = 2;
constexpr BYTE CFU_UNDERLINEDOUBLE = 3;
constexpr BYTE CFU_UNDERLINEDOTTED = 4;
constexpr BYTE CFU_UNDERLINEDASH = 5;
constexpr BYTE CFU_UNDERLINEDASHDOT = 6;
constexpr BYTE CFU_UNDERLINEDASHDOTDOT = 7;
constexpr BYTE CFU_UNDERLINEWAVE = 8;
constexpr BYTE CFU_UNDERLINETHICK = 9;
constexpr BYTE CFU_UNDERLINEHAIRLINE = 10;
constexpr BYTE CFU_UNDERLINEDOUBLEWAVE = 11;
constexpr BYTE CFU_UNDERLINEHEAVYWAVE = 12;
constexpr BYTE CFU_UNDERLINELONGDASH = 13;
constexpr BYTE CFU_UNDERLINETHICKDASH = 14;
constexpr BYTE CFU_UNDERLINETHICKDASHDOT = 15;
constexpr BYTE CFU_UNDERLINETHICKDASHDOTDOT = 16;
constexpr BYTE CFU_UNDERLINETHICKDOTTED = 17;
constexpr BYTE CFU_UNDERLINETHICKLONGDASH = 18;

constexpr BYTE DEFAULT_PITCH = 0;
constexpr BYTE FIXED_PITCH = 1;
constexpr BYTE VARIABLE_PITCH = 2;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE SYMBOL_CHARSET = 2;

// Line spacing rules (bLineSpacingRule, PFM_LINESPACING).
constexpr BYTE LSR_SINGLE = 0;
constexpr BYTE LSR_ONEANDHALF = 1;
constexpr BYTE LSR_DOUBLE = 2;
constexpr BYTE LSR_ATLEAST = 3;   // dyLineSpacing twips, or more for taller text
constexpr BYTE LSR_EXACTLY = 4;   // dyLineSpacing twips
constexpr BYTE LSR_MULTIPLE = 5;  // dyLineSpacing / 20 lines

constexpr WORD PFN_BULLET = 1;
constexpr WORD PFN_ARABIC = 2;
constexpr WORD PFN_LCLETTER = 3;
constexpr WORD PFN_UCLETTER = 4;
constexpr WORD PFN_LCROMAN = 5;
constexpr WORD PFN_UCROMAN = 6;

constexpr WORD PFA_LEFT = 1;
constexpr WORD PFA_RIGHT = 2;
constexpr WORD PFA_CENTER = 3;
constexpr WORD PFA_JUSTIFY = 4;
constexpr int MAX_TAB_STOPS = 32;

}  // namespace richedit
