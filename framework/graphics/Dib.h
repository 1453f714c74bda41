#pragma once
// A device-independent bitmap held in memory in the platform's packed layout: the fields of its
// information header, its colour table or colour masks, and its pixel rows, bottom row first,
// each row padded to a multiple of four bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kl {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;

constexpr std::size_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER

struct TDib {
  std::int32_t width = 0;
  std::int32_t height = 0;  // rows stored bottom row first
  std::uint16_t bitCount = 0;
  std::uint32_t compression = BI_RGB;  // BI_RGB, or BI_BITFIELDS for 16 and 32 bits with masks
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;  // 0: the full table of 2^bitCount entries
  std::uint32_t clrImportant = 0;
  std::vector<std::uint32_t> colours;    // each entry blue, green, red, 0 as a little-endian word
  std::array<std::uint32_t, 3> masks{};  // red, green, blue, for BI_BITFIELDS
  std::vector<std::uint8_t> bits;

  // Bytes of one padded row.
  static std::size_t RowSize(std::int64_t width, int bitCount) {
    return std::size_t((width * bitCount + 31) / 32 * 4);
  }
  std::size_t RowSize() const { return RowSize(width, bitCount); }
  std::size_t ImageSize() const { return RowSize() * std::size_t(height); }
  // The number of colour table entries the information block carries.
  std::size_t ColourCount() const {
    if (bitCount > 8) return 0;
    return clrUsed != 0 ? clrUsed : std::size_t(1) << bitCount;
  }
  std::size_t InfoSize() const {
    return kInfoHeaderSize + 4 * ColourCount() + (compression == BI_BITFIELDS ? 12 : 0);
  }
  // Writes the information block (header, then colour table or masks): InfoSize() bytes.
  void WriteInfo(std::uint8_t* out) const;
};

}  // namespace kl
