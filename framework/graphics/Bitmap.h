#pragma once
// A bitmap loaded from a BMP file and kept as a device-independent bitmap with the file's own
// size, bit depth, colour table, masks and rows.

#include <string>
#include <utility>

#include "framework/Object.h"
#include "framework/graphics/Dib.h"

namespace kl {

class TBitmap : public TObject {
 public:
  // Reads the file. Raises kl::Exception "Cannot open file "name". reason" when the file cannot
  // be read, "Bitmap image is not valid" when it is not a bitmap the reader can take, and
  // "Bitmap image is too large" when its pixels exceed what the reader holds; the bitmap is
  // left as it was.
  void LoadFromFile(const std::string& FileName);

  // Takes a bitmap made in memory.
  void SetDib(TDib dib) { dib_ = std::move(dib); }

  bool Empty() const { return dib_.bits.empty(); }
  int Width() const { return dib_.width; }
  int Height() const { return dib_.height; }
  const TDib& Dib() const { return dib_; }

 private:
  TDib dib_;
};

}  // namespace kl
