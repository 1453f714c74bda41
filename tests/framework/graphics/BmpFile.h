#pragma once
// Builds BMP files byte by byte for the loader's tests: a file header, an information header of
// the chosen size, optional masks and colour table, then the pixel data.

#include <cstdint>
#include <string>
#include <vector>

namespace kl::testing {

struct BmpFile {
  std::uint32_t headerSize = 40;
  std::int32_t width = 1, height = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;
  std::uint32_t clrUsed = 0;
  std::vector<std::uint32_t> masks;    // written after the 40-byte header, or inside a longer one
  std::vector<std::uint32_t> colours;  // 4-byte entries (3-byte for the core header)
  std::vector<std::uint8_t> pixels;
  std::int64_t offBits = -1;  // -1: just after the colour table

  std::vector<std::uint8_t> Bytes() const {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint64_t v, int n) {
      for (int i = 0; i < n; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
    };
    const bool core = headerSize == 12;
    const std::size_t entry = core ? 3 : 4;
    const bool masksInside = headerSize >= 52;
    const std::size_t table =
        14 + headerSize + (masksInside ? 0 : masks.size() * 4) + colours.size() * entry;
    out.push_back('B');
    out.push_back('M');
    put(table + pixels.size(), 4);
    put(0, 4);
    put(offBits >= 0 ? std::uint64_t(offBits) : table, 4);
    put(headerSize, 4);
    if (core) {
      put(std::uint16_t(width), 2);
      put(std::uint16_t(height), 2);
      put(1, 2);
      put(bitCount, 2);
    } else {
      put(std::uint32_t(width), 4);
      put(std::uint32_t(height), 4);
      put(1, 2);
      put(bitCount, 2);
      put(compression, 4);
      put(0, 4);
      put(2835, 4);
      put(2835, 4);
      put(clrUsed, 4);
      put(0, 4);
      std::size_t written = 40;
      if (masksInside) {
        for (std::uint32_t m : masks) put(m, 4), written += 4;
      }
      while (written < headerSize) out.push_back(0), ++written;
      if (!masksInside) {
        for (std::uint32_t m : masks) put(m, 4);
      }
    }
    for (std::uint32_t c : colours) put(c, int(entry));
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }
};

}  // namespace kl::testing
