// The library stand-ins the editor uses to find and create its control.

#include "platform/richedit/RichEditLibrary.h"
#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

TEST(RichEditLibraryTest, LoadsOnlyTheRichEditLibraries) {
  for (const char* name : {"RICHED20.DLL", "riched20.dll", "RICHED32.DLL"}) {
    const HMODULE module = LoadLibrary(name);
    EXPECT_GE(reinterpret_cast<std::uintptr_t>(module), 32u) << name;
    FreeLibrary(module);
  }
  EXPECT_EQ(LoadLibrary("MSFTEDIT.DLL"), nullptr);
}

TEST(RichEditLibraryTest, VersionErrorModeAndClipboardFormats) {
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionEx(info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_GE(info.dwMajorVersion, 5u);
  const UINT before = SetErrorMode(SEM_NOOPENFILEERRORBOX);
  EXPECT_EQ(SetErrorMode(before), SEM_NOOPENFILEERRORBOX);
  const UINT rtf = RegisterClipboardFormat("Rich Text Format");
  EXPECT_GE(rtf, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormat("Rich Text Format"), rtf);
  EXPECT_NE(RegisterClipboardFormat("Embedded Object"), rtf);
}

TEST(RichEditLibraryTest, CreatesControlsByClassName) {
  EXPECT_NE(CreateWindowEx("RichEdit20A", ES_MULTILINE, nullptr), nullptr);
  EXPECT_NE(CreateWindowEx("RICHEDIT", ES_MULTILINE, nullptr), nullptr);
  EXPECT_EQ(CreateWindowEx("EDIT", ES_MULTILINE, nullptr), nullptr);
  const auto control = CreateWindowEx("RichEdit20A", ES_MULTILINE | ES_NOHIDESEL, nullptr);
  EXPECT_EQ(control->style(), ES_MULTILINE | ES_NOHIDESEL);
  EXPECT_EQ(control->Perform(EM_GETOPTIONS, 0, 0) & ECO_NOHIDESEL, LRESULT(ECO_NOHIDESEL));
}

TEST(RichEditLibraryTest, MessageHookSeesEveryMessage) {
  RichEditControl control(ES_MULTILINE);
  std::vector<UINT> seen;
  control.setMessageHook([&](UINT msg, WPARAM, LPARAM) { seen.push_back(msg); });
  control.Perform(EM_EXLIMITTEXT, 0, 0xFFFFFF);
  control.Perform(0x7777, 0, 0);
  EXPECT_EQ(seen, (std::vector<UINT>{EM_EXLIMITTEXT, 0x7777}));
}

}  // namespace
}  // namespace richedit::test
