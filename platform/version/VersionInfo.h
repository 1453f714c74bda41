#pragma once
// The version information of a program file, as the platform's version API answers it: the
// size of the information block, the block itself, and its root value, the fixed file
// information record. Our executables carry the block as a plain record (VersionRecord.h);
// reading finds it by its key and checks its signature, so no executable format is parsed.

#include <cstdint>
#include <string>

namespace version {

using DWORD = std::uint32_t;
using WORD = std::uint16_t;

constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BD;

// The platform's VS_FIXEDFILEINFO.
struct VS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};
static_assert(sizeof(VS_FIXEDFILEINFO) == 52);

// The size in bytes of the version information the file carries; 0 when it carries none or
// cannot be read.
DWORD GetFileVersionInfoSize(const std::string& fileName);

// Copies up to size bytes of the file's version information into data; false when the file
// carries none or cannot be read.
bool GetFileVersionInfo(const std::string& fileName, DWORD size, void* data);

// Finds a value in a block read by GetFileVersionInfo. Only the root block "\" is kept: its
// value is the VS_FIXEDFILEINFO record. False when the block holds no such value.
bool VerQueryValue(const void* block, DWORD blockSize, const std::string& subBlock,
                   const void** value, DWORD* length);

}  // namespace version
