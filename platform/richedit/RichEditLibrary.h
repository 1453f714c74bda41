#pragma once
// Stand-ins for the platform services the editor uses to find its control: library loading,
// the system version, the error mode, clipboard format registration and window creation by
// class name. On this platform the rich-edit library is built in and always loads.

#include <memory>
#include <string>

#include "RichEditControl.h"

namespace richedit {

using HMODULE = void*;

// Answers a handle (a value of 32 or more) for "RICHED20.DLL" and "RICHED32.DLL" (any letter
// case), nullptr for any other name.
HMODULE LoadLibrary(const std::string& name);
void FreeLibrary(HMODULE module);

constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
struct OSVERSIONINFO {
  DWORD dwOSVersionInfoSize;  // 148
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  char szCSDVersion[128];
};
static_assert(sizeof(OSVERSIONINFO) == 148);
bool GetVersionEx(OSVERSIONINFO& info);  // an NT-family system of major version 10

constexpr UINT SEM_NOOPENFILEERRORBOX = 0x8000;
UINT SetErrorMode(UINT mode);  // answers the previous mode

// Same name, same identifier, for the life of the process (identifiers from 0xC000 up).
UINT RegisterClipboardFormat(const std::string& name);

// "RichEdit20A" (versions 2 and 3) and "RICHEDIT" (version 1) create a control; any other
// class name answers nullptr.
std::unique_ptr<RichEditControl> CreateWindowEx(const std::string& className, DWORD style,
                                                QWidget* parent);

}  // namespace richedit
