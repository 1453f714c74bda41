#include "framework/graphics/Dib.h"

namespace kl {

namespace {

std::uint8_t* Put32(std::uint8_t* out, std::uint32_t value) {
  out[0] = std::uint8_t(value);
  out[1] = std::uint8_t(value >> 8);
  out[2] = std::uint8_t(value >> 16);
  out[3] = std::uint8_t(value >> 24);
  return out + 4;
}

std::uint8_t* Put16(std::uint8_t* out, std::uint16_t value) {
  out[0] = std::uint8_t(value);
  out[1] = std::uint8_t(value >> 8);
  return out + 2;
}

}  // namespace

void TDib::WriteInfo(std::uint8_t* out) const {
  out = Put32(out, kInfoHeaderSize);
  out = Put32(out, std::uint32_t(width));
  out = Put32(out, std::uint32_t(height));
  out = Put16(out, 1);
  out = Put16(out, bitCount);
  out = Put32(out, compression);
  out = Put32(out, std::uint32_t(ImageSize()));
  out = Put32(out, std::uint32_t(xPelsPerMeter));
  out = Put32(out, std::uint32_t(yPelsPerMeter));
  out = Put32(out, bitCount <= 8 ? clrUsed : 0);
  out = Put32(out, clrImportant);
  if (compression == BI_BITFIELDS) {
    for (std::uint32_t mask : masks) out = Put32(out, mask);
  }
  const std::size_t count = ColourCount();
  for (std::size_t i = 0; i < count; ++i) out = Put32(out, i < colours.size() ? colours[i] : 0);
}

}  // namespace kl
