// Any bytes as a BMP file: reading must not crash nor hold more than its bound, and a bitmap it
// takes must describe itself consistently, as the picture command writes it out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "framework/graphics/BmpReader.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kl::TDib dib;
  // A small bound keeps each run fast; the reader's own bound is checked the same way.
  constexpr std::size_t kBound = std::size_t(4) << 20;
  if (kl::ReadBmp({data, size}, dib, kBound) != kl::BmpError::None) {
    Check(dib.bits.empty());
    return 0;
  }
  Check(dib.width > 0 && dib.height > 0);
  Check(dib.bits.size() == dib.ImageSize());
  Check(dib.bits.size() <= kBound);
  Check(dib.colours.size() == dib.ColourCount());
  std::vector<std::uint8_t> info(dib.InfoSize());
  dib.WriteInfo(info.data());
  Check(info[0] == 40);
  return 0;
}
