#include "framework/graphics/BmpReader.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace kl {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t BI_ALPHABITFIELDS = 6;
// Run-length data may claim far more pixels than their size: a few bytes per row of any
// length. What they may fill is held to a multiple of the file's size plus a fixed allowance.
constexpr std::size_t kRleExpansion = 16;
constexpr std::size_t kRleAllowance = std::size_t(16) << 20;

std::uint16_t U16(const std::uint8_t* p) {
  return std::uint16_t(p[0] | p[1] << 8);
}
std::uint32_t U32(const std::uint8_t* p) {
  return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
         std::uint32_t(p[3]) << 24;
}

// What the headers say, before any pixel is read.
struct Header {
  std::size_t size = 0;  // of the information header
  std::int64_t width = 0, height = 0;
  bool topDown = false;
  int bitCount = 0;
  std::uint32_t compression = BI_RGB;
  std::int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0, clrImportant = 0;
  std::size_t colourEntrySize = 4;
};

bool KnownDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

std::optional<Header> ReadHeader(std::span<const std::uint8_t> file) {
  Header h;
  const std::uint8_t* p = file.data() + kFileHeaderSize;
  h.size = U32(p);
  if (h.size == 12) {  // BITMAPCOREHEADER: 16-bit sizes, 3-byte colour entries
    h.width = U16(p + 4);
    h.height = U16(p + 6);
    h.bitCount = U16(p + 10);
    h.colourEntrySize = 3;
    return h;
  }
  // BITMAPINFOHEADER and its longer forms (V2, V3, V4, V5) share their first 40 bytes.
  if (h.size < kInfoHeaderSize || h.size > 1024 || file.size() < kFileHeaderSize + h.size)
    return std::nullopt;
  h.width = std::int32_t(U32(p + 4));
  const std::int32_t height = std::int32_t(U32(p + 8));
  h.topDown = height < 0;
  h.height = height < 0 ? -std::int64_t(height) : height;
  h.bitCount = U16(p + 14);
  h.compression = U32(p + 16);
  h.xPelsPerMeter = std::int32_t(U32(p + 24));
  h.yPelsPerMeter = std::int32_t(U32(p + 28));
  h.clrUsed = U32(p + 32);
  h.clrImportant = U32(p + 36);
  return h;
}

bool SoundHeader(const Header& h) {
  if (h.width <= 0 || h.height <= 0 || !KnownDepth(h.bitCount)) return false;
  switch (h.compression) {
    case BI_RGB:
      return true;
    case BI_RLE8:
      return h.bitCount == 8 && !h.topDown;
    case BI_RLE4:
      return h.bitCount == 4 && !h.topDown;
    case BI_BITFIELDS:
    case BI_ALPHABITFIELDS:
      return h.bitCount == 16 || h.bitCount == 32;
    default:
      return false;
  }
}

// The colour masks of a BI_BITFIELDS picture: inside a longer header, or just after a
// BITMAPINFOHEADER. Answers the offset just past them, 0 when they run past the file.
std::size_t ReadMasks(std::span<const std::uint8_t> file, const Header& h, TDib& dib) {
  const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
  const std::size_t end = at + 12;
  if (end > file.size()) return 0;
  for (int i = 0; i < 3; ++i) dib.masks[i] = U32(file.data() + at + 4 * i);
  return std::max(end, kFileHeaderSize + h.size);
}

// The colour table: answers the offset just past it, 0 when it runs past the file.
std::size_t ReadColours(std::span<const std::uint8_t> file, const Header& h, std::size_t at,
                        TDib& dib) {
  if (h.bitCount > 8) return at;  // a table beside true colours only suggests a palette
  const std::size_t full = std::size_t(1) << h.bitCount;
  const std::size_t count = h.clrUsed != 0 && h.clrUsed < full ? h.clrUsed : full;
  const std::size_t end = at + count * h.colourEntrySize;
  if (end > file.size()) return 0;
  dib.clrUsed = count == full ? 0 : std::uint32_t(count);
  dib.colours.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* c = file.data() + at + i * h.colourEntrySize;
    dib.colours[i] = std::uint32_t(c[0]) | std::uint32_t(c[1]) << 8 | std::uint32_t(c[2]) << 16;
  }
  return end;
}

// Uncompressed rows: as many whole rows as the file holds, turned bottom row first.
BmpError ReadRows(std::span<const std::uint8_t> pixels, const Header& h, std::size_t maxBytes,
                  TDib& dib) {
  const std::size_t row = TDib::RowSize(h.width, h.bitCount);
  const std::size_t rows = std::min<std::size_t>(std::size_t(h.height), pixels.size() / row);
  if (rows == 0) return BmpError::NoPixelData;
  if (row > maxBytes || rows > maxBytes / row) return BmpError::TooLarge;
  // Rows cut short keep the part of the picture that is there: the bottom of a bottom-up file,
  // the top of a top-down one.
  dib.height = std::int32_t(rows);
  dib.bits.resize(rows * row);
  if (!h.topDown) {
    std::memcpy(dib.bits.data(), pixels.data(), rows * row);
  } else {
    for (std::size_t y = 0; y < rows; ++y)
      std::memcpy(dib.bits.data() + (rows - 1 - y) * row, pixels.data() + y * row, row);
  }
  return BmpError::None;
}

// Run-length data decoded into plain rows; pixels the data skip keep colour 0. Decoding stops at
// the end-of-picture mark, at the last row, or where the data end.
class RleDecoder {
 public:
  RleDecoder(TDib& dib, int bitCount) : dib_(dib), four_(bitCount == 4), row_(dib.RowSize()) {}

  void Decode(std::span<const std::uint8_t> data) {
    std::size_t i = 0;
    while (i + 1 < data.size() && y_ < dib_.height) {
      const std::uint8_t count = data[i], value = data[i + 1];
      i += 2;
      if (count > 0) {
        for (int n = 0; n < count; ++n) Put(four_ ? (n % 2 ? value & 0x0F : value >> 4) : value);
        continue;
      }
      if (value == 0) {  // end of line
        x_ = 0;
        ++y_;
      } else if (value == 1) {  // end of picture
        return;
      } else if (value == 2) {  // move right and up
        if (i + 1 >= data.size()) return;
        x_ += data[i];
        y_ += data[i + 1];
        i += 2;
      } else {  // a run of value literal pixels, padded to a whole word
        const std::size_t bytes = four_ ? (value + 1) / 2 : value;
        if (i + bytes > data.size()) return;
        for (int n = 0; n < value; ++n)
          Put(four_ ? (n % 2 ? data[i + n / 2] & 0x0F : data[i + n / 2] >> 4) : data[i + n]);
        i += (bytes + 1) & ~std::size_t(1);
      }
    }
  }

 private:
  void Put(int index) {
    if (x_ < dib_.width && y_ < dib_.height) {
      std::uint8_t* row = dib_.bits.data() + std::size_t(y_) * row_;
      if (four_) {
        std::uint8_t& byte = row[x_ / 2];
        byte = x_ % 2 ? (byte & 0xF0) | index : (byte & 0x0F) | index << 4;
      } else {
        row[x_] = std::uint8_t(index);
      }
    }
    ++x_;
  }

  TDib& dib_;
  const bool four_;
  const std::size_t row_;
  std::int64_t x_ = 0, y_ = 0;
};

BmpError ReadRle(std::span<const std::uint8_t> file, std::span<const std::uint8_t> data,
                 const Header& h, std::size_t maxBytes, TDib& dib) {
  if (data.empty()) return BmpError::NoPixelData;
  const std::size_t row = TDib::RowSize(h.width, h.bitCount);
  const std::size_t limit = std::min(maxBytes, file.size() * kRleExpansion + kRleAllowance);
  if (row > limit || std::size_t(h.height) > limit / row) return BmpError::TooLarge;
  dib.bits.assign(row * std::size_t(h.height), 0);
  RleDecoder(dib, h.bitCount).Decode(data);
  return BmpError::None;
}

}  // namespace

const char* BmpErrorText(BmpError error) {
  switch (error) {
    case BmpError::None:
      return "no error";
    case BmpError::NotABitmap:
      return "not a bitmap file";
    case BmpError::BadHeader:
      return "unknown header, size, bit depth or compression";
    case BmpError::BadColourTable:
      return "colour table or masks past the end of the file";
    case BmpError::NoPixelData:
      return "no pixel data";
    case BmpError::TooLarge:
      return "picture too large";
  }
  return "unknown error";
}

BmpError ReadBmp(std::span<const std::uint8_t> file, TDib& dib, std::size_t maxPixelBytes) {
  dib = TDib();
  if (file.size() < kFileHeaderSize + 12 || file[0] != 'B' || file[1] != 'M')
    return BmpError::NotABitmap;
  const std::optional<Header> header = ReadHeader(file);
  if (!header || !SoundHeader(*header)) return BmpError::BadHeader;
  const Header& h = *header;
  if (h.width > INT32_MAX / 32) return BmpError::TooLarge;

  TDib read;
  read.width = std::int32_t(h.width);
  read.height = std::int32_t(h.height);
  read.bitCount = std::uint16_t(h.bitCount);
  read.xPelsPerMeter = h.xPelsPerMeter;
  read.yPelsPerMeter = h.yPelsPerMeter;
  std::size_t tableAt = kFileHeaderSize + h.size;
  if (h.compression == BI_BITFIELDS || h.compression == BI_ALPHABITFIELDS) {
    read.compression = BI_BITFIELDS;
    tableAt = ReadMasks(file, h, read);
    if (tableAt == 0) return BmpError::BadColourTable;
  }
  const std::size_t tableEnd = ReadColours(file, h, tableAt, read);
  if (tableEnd == 0) return BmpError::BadColourTable;
  const std::size_t colours = read.ColourCount();
  read.clrImportant = h.clrImportant <= colours ? h.clrImportant : 0;

  // The pixels start where the file header says, unless that points into the headers or past
  // the end; then they follow the colour table.
  std::size_t pixelsAt = U32(file.data() + 10);
  if (pixelsAt < tableEnd || pixelsAt >= file.size()) pixelsAt = tableEnd;
  const std::span<const std::uint8_t> pixels = file.subspan(pixelsAt);
  const BmpError error = h.compression == BI_RLE8 || h.compression == BI_RLE4
                             ? ReadRle(file, pixels, h, maxPixelBytes, read)
                             : ReadRows(pixels, h, maxPixelBytes, read);
  if (error != BmpError::None) return error;
  dib = std::move(read);
  return BmpError::None;
}

}  // namespace kl
