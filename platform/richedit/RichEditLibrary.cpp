#include "platform/richedit/RichEditLibrary.h"

#include <QString>
#include <cstring>
#include <map>
#include <mutex>

namespace richedit {

namespace {

// Any stable value of 32 or more serves as the handle of the built-in library.
char gLibraryTag;
UINT gErrorMode = 0;

}  // namespace

HMODULE LoadLibrary(const std::string& name) {
  const QString n = QString::fromStdString(name).toUpper();
  if (n == QLatin1String("RICHED20.DLL") || n == QLatin1String("RICHED32.DLL")) return &gLibraryTag;
  return nullptr;
}

void FreeLibrary(HMODULE) {}

bool GetVersionEx(OSVERSIONINFO& info) {
  if (info.dwOSVersionInfoSize != sizeof(OSVERSIONINFO)) return false;
  info.dwMajorVersion = 10;
  info.dwMinorVersion = 0;
  info.dwBuildNumber = 19045;
  info.dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(info.szCSDVersion, 0, sizeof info.szCSDVersion);
  return true;
}

UINT SetErrorMode(UINT mode) {
  const UINT previous = gErrorMode;
  gErrorMode = mode;
  return previous;
}

UINT RegisterClipboardFormat(const std::string& name) {
  static std::mutex lock;
  static std::map<std::string, UINT> formats;
  if (name.empty()) return 0;
  std::lock_guard<std::mutex> guard(lock);
  auto it = formats.find(name);
  if (it != formats.end()) return it->second;
  const UINT id = 0xC000 + UINT(formats.size());
  formats.emplace(name, id);
  return id;
}

std::unique_ptr<RichEditControl> CreateWindowEx(const std::string& className, DWORD style,
                                                QWidget* parent) {
  // Window class names compare without regard to letter case.
  const QString n = QString::fromStdString(className).toUpper();
  if (n != QLatin1String("RICHEDIT20A") && n != QLatin1String("RICHEDIT")) return nullptr;
  return std::make_unique<RichEditControl>(style, parent);
}

}  // namespace richedit
