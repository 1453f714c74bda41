#pragma once
// The version information block a program carries in its own file: the platform's
// VS_VERSIONINFO with its key "VS_VERSION_INFO" and, as its value, the fixed file information
// record. A program defines it once with KL_DEFINE_VERSION_RECORD in a source of its executable.

#include "platform/version/VersionInfo.h"

namespace version {

struct VersionInfoRecord {
  WORD wLength;
  WORD wValueLength;
  WORD wType;  // 0: binary data
  char16_t szKey[16];
  WORD padding;  // the value starts on a 32-bit boundary
  VS_FIXEDFILEINFO value;
};
static_assert(sizeof(VersionInfoRecord) == 92);

// The key that starts every block, as it stands in the file (UTF-16, little-endian, with NUL).
constexpr char16_t kVersionInfoKey[16] = u"VS_VERSION_INFO";
constexpr int kKeyOffset = 6;
constexpr int kValueOffset = 40;

constexpr VersionInfoRecord MakeVersionRecord(WORD major, WORD minor, WORD release, WORD build) {
  VersionInfoRecord record{};
  record.wLength = sizeof(VersionInfoRecord);
  record.wValueLength = sizeof(VS_FIXEDFILEINFO);
  record.wType = 0;
  for (int i = 0; i < 16; ++i) record.szKey[i] = kVersionInfoKey[i];
  record.value.dwSignature = kFixedFileInfoSignature;
  record.value.dwStrucVersion = 0x00010000;
  record.value.dwFileVersionMS = DWORD(major) << 16 | minor;
  record.value.dwFileVersionLS = DWORD(release) << 16 | build;
  record.value.dwProductVersionMS = record.value.dwFileVersionMS;
  record.value.dwProductVersionLS = record.value.dwFileVersionLS;
  record.value.dwFileFlagsMask = 0x3F;
  record.value.dwFileOS = 0x00040004;  // VOS_NT_WINDOWS32, the layout the record keeps
  record.value.dwFileType = 1;         // VFT_APP
  return record;
}

}  // namespace version

// An object of the executable with external linkage: the linker keeps it even though nothing
// refers to it, and the reader finds it in the file.
#define KL_DEFINE_VERSION_RECORD(major, minor, release, build) \
  extern const ::version::VersionInfoRecord klVersionRecord;   \
  const ::version::VersionInfoRecord klVersionRecord =         \
      ::version::MakeVersionRecord(major, minor, release, build)
