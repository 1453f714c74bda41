#pragma once
// Reads a BMP file into a device-independent bitmap. Written by hand because the program must
// keep the file's own bit depth, colour table and masks (Qt's reader turns every file into its
// own pixel formats): core, info, V4 and V5 headers; 1, 4, 8, 16, 24 and 32 bits per pixel;
// BI_RGB, BI_BITFIELDS, and BI_RLE4 and BI_RLE8 decoded to plain rows; bottom-up and top-down
// rows, always kept bottom row first.
//
// A file's claims are checked against its bytes: rows cut short keep the rows that are there,
// run-length data stop where the picture or the data end, and nothing is allocated beyond what
// the file can fill.

#include <cstddef>
#include <cstdint>
#include <span>

#include "framework/graphics/Dib.h"

namespace kl {

enum class BmpError {
  None,
  NotABitmap,      // no "BM" signature, or too short for the headers
  BadHeader,       // unknown header size, dimensions, bit depth or compression
  BadColourTable,  // the colour table or the colour masks run past the end of the file
  NoPixelData,     // not one whole row of pixels
  TooLarge,        // more pixel data than the reader will hold
};

// A short text for the error, for messages and test output.
const char* BmpErrorText(BmpError error);

// The most pixel data the reader holds for one picture: a 16-megapixel picture at 32 bits per
// pixel fits.
constexpr std::size_t kMaxBitmapBytes = std::size_t(64) << 20;

// Reads file into dib; on an error dib is left empty.
BmpError ReadBmp(std::span<const std::uint8_t> file, TDib& dib,
                 std::size_t maxPixelBytes = kMaxBitmapBytes);

}  // namespace kl
