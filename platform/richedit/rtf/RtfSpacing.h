#pragma once
// Line spacing between RTF's \sl and \slmult and the paragraph record's rule and amount, one
// mapping for the reader and the writer. RTF counts a multiple in 240ths of a line (\sl360
// \slmult1 is one and a half lines); the record counts it in 20ths (rule 5, amount 30). A
// positive \sl without \slmult1 is a least height, a negative one an exact height, in twips.

#include <cstdlib>

#include "platform/richedit/document/FormatCodes.h"

namespace richedit::rtf {

struct LineSpacing {
  int rule = LSR_SINGLE;
  int amount = 0;  // twips for at least and exactly, 20ths of a line for multiple
};

inline LineSpacing lineSpacingOfRtf(int sl, bool multiple) {
  if (sl == 0) return {};
  if (multiple) return {LSR_MULTIPLE, std::abs(sl) / 12};
  return {sl > 0 ? LSR_ATLEAST : LSR_EXACTLY, std::abs(sl)};
}

struct RtfLineSpacing {
  int sl = 0;  // 0: nothing to write
  bool multiple = false;
};

inline RtfLineSpacing rtfOfLineSpacing(int rule, int amount) {
  switch (rule) {
    case LSR_ONEANDHALF:
      return {360, true};
    case LSR_DOUBLE:
      return {480, true};
    case LSR_ATLEAST:
      return {amount, false};
    case LSR_EXACTLY:
      return {-amount, false};
    case LSR_MULTIPLE:
      return {amount * 12, true};
    default:
      return {};
  }
}

}  // namespace richedit::rtf
