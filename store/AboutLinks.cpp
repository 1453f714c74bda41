#include "store/AboutLinks.h"

#include <vector>

#include "framework/Application.h"
#include "platform/shell/Shell.h"
#include "platform/version/VersionInfo.h"

namespace kl {

void GetAppVersion(std::string& Version) {
  Version = "0.0";
  const std::string fileName = Application().ExeName();
  const version::DWORD size = version::GetFileVersionInfoSize(fileName);
  if (size == 0) return;
  std::vector<unsigned char> block(size);
  if (!version::GetFileVersionInfo(fileName, size, block.data())) return;
  const void* value = nullptr;
  version::DWORD length = 0;
  if (!version::VerQueryValue(block.data(), size, "\\", &value, &length)) return;
  const auto* info = static_cast<const version::VS_FIXEDFILEINFO*>(value);
  const unsigned major = info->dwFileVersionMS >> 16;
  const unsigned minor = info->dwFileVersionMS & 0xFFFF;
  Version = std::to_string(major) + "." + std::to_string(minor);
}

bool OpenLink(const std::string& Target) {
  return shell::ShellOpen(Target);
}

}  // namespace kl
