#pragma once
// Small value types shared by controls and their events.

#include <cstdint>

namespace kl {

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  friend bool operator==(const TRect&, const TRect&) = default;
};

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// A window message as a control's handlers see it, with the answer they give.
struct TMessage {
  std::uint32_t Msg = 0;
  std::uintptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBiDiMode {
  bdLeftToRight,
  bdRightToLeft,
  bdRightToLeftNoAlign,
  bdRightToLeftReadingOnly
};

}  // namespace kl
