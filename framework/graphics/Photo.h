#pragma once
// A photo (JPEG or PNG) loaded from a file and kept as the file's own bytes, so that a picture
// from a phone costs its file size, not its decoded pixels. A JPEG whose orientation mark does
// not stand upright is turned upright once, here, and encoded again.

#include <QByteArray>
#include <string>

#include "framework/Object.h"

namespace kl {

enum class TPhotoKind { Jpeg, Png };

class TPhoto : public TObject {
 public:
  // True when the bytes start as a JPEG or PNG file does.
  static bool IsPhoto(const QByteArray& start);

  // Reads the file. Raises kl::Exception "Cannot open file "name". reason" when the file cannot
  // be read, "Photo image is not valid" when it does not decode as a JPEG or PNG image, and
  // "Photo image is too large" above 40 megapixels; the photo is left as it was.
  void LoadFromFile(const std::string& FileName);

  TPhotoKind Kind() const { return kind_; }
  const QByteArray& Bytes() const { return bytes_; }
  // Pixels, upright.
  int Width() const { return width_; }
  int Height() const { return height_; }

  // JPEG quality of a photo turned upright.
  static constexpr int kUprightQuality = 92;

 private:
  TPhotoKind kind_ = TPhotoKind::Jpeg;
  QByteArray bytes_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kl
