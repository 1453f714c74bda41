#include "framework/graphics/Bitmap.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "framework/Exception.h"
#include "framework/graphics/BmpReader.h"

namespace kl {

namespace {

// Colour tables, masks and headers are small: a file much larger than the most pixel data the
// reader holds cannot be a picture it takes.
constexpr long long kMaxFileSize = static_cast<long long>(kMaxBitmapBytes) + (1 << 20);

[[noreturn]] void RaiseOpenError(const std::string& fileName, int code) {
  throw Exception("Cannot open file \"" + fileName + "\". " + std::strerror(code));
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& fileName) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(fileName.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) RaiseOpenError(fileName, errno);
  struct stat info {};
  if (::fstat(::fileno(file.get()), &info) != 0) RaiseOpenError(fileName, errno);
  if (S_ISDIR(info.st_mode)) RaiseOpenError(fileName, EISDIR);
  if (std::fseek(file.get(), 0, SEEK_END) != 0) RaiseOpenError(fileName, errno);
  const long long size = std::ftell(file.get());
  if (size < 0) RaiseOpenError(fileName, errno);
  if (size > kMaxFileSize) throw Exception("Bitmap image is too large");
  std::rewind(file.get());
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    RaiseOpenError(fileName, std::ferror(file.get()) ? errno : EIO);
  return bytes;
}

}  // namespace

void TBitmap::LoadFromFile(const std::string& FileName) {
  const std::vector<std::uint8_t> bytes = ReadWholeFile(FileName);
  TDib dib;
  switch (ReadBmp(bytes, dib)) {
    case BmpError::None:
      dib_ = std::move(dib);
      return;
    case BmpError::TooLarge:
      throw Exception("Bitmap image is too large");
    default:
      throw Exception("Bitmap image is not valid");
  }
}

}  // namespace kl
