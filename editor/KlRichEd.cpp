#include "editor/KlRichEd.h"

#include "platform/richedit/RichEditLibrary.h"

namespace kl {

namespace {

// Loads the library once, on first use, and frees it when the process ends.
class RichEditUnit {
 public:
  RichEditUnit() {
    const richedit::UINT oldMode = richedit::SetErrorMode(richedit::SEM_NOOPENFILEERRORBOX);
    library_ = LoadChecked("RICHED20.DLL");
    if (library_) {
      version_ = 2;
      richedit::OSVERSIONINFO info{};
      info.dwOSVersionInfoSize = sizeof(info);
      if (richedit::GetVersionEx(info) && info.dwPlatformId == richedit::VER_PLATFORM_WIN32_NT &&
          info.dwMajorVersion >= 5)
        version_ = 3;
    } else {
      library_ = LoadChecked("RICHED32.DLL");
    }
    richedit::SetErrorMode(oldMode);
    formats_.EmbeddedObject = richedit::RegisterClipboardFormat("Embedded Object");
    formats_.LinkSource = richedit::RegisterClipboardFormat("Link Source");
    formats_.RichText = richedit::RegisterClipboardFormat("Rich Text Format");
    formats_.RichTextNoObjs = richedit::RegisterClipboardFormat("Rich Text Format Without Objects");
  }
  ~RichEditUnit() {
    if (library_) richedit::FreeLibrary(library_);
  }

  int version_ = 1;
  TRichEditClipboardFormats formats_;

 private:
  // A handle below 32 is a failure code, not a module.
  static richedit::HMODULE LoadChecked(const char* name) {
    richedit::HMODULE module = richedit::LoadLibrary(name);
    if (reinterpret_cast<std::uintptr_t>(module) < 32) return nullptr;
    return module;
  }
  richedit::HMODULE library_ = nullptr;
};

RichEditUnit& Unit() {
  static RichEditUnit unit;
  return unit;
}

struct ConverterList {
  TRichConversionFormat rtf{MakeDefaultConversion, "rtf", false, nullptr};
  TRichConversionFormat txt{MakeDefaultConversion, "txt", true, &rtf};
};

ConverterList& Converters() {
  static ConverterList list;
  return list;
}

}  // namespace

int RichEditVersion() {
  return Unit().version_;
}

void SetRichEditVersionForTesting(int version) {
  Unit().version_ = version;
}

namespace {
// This platform answers as a current system does.
int systemMajorVersion = 10;
}  // namespace

int SystemMajorVersion() {
  return systemMajorVersion;
}

void SetSystemMajorVersionForTesting(int version) {
  systemMajorVersion = version;
}

const TRichEditClipboardFormats& RichEditClipboardFormats() {
  return Unit().formats_;
}

TRichConversionFormat* ConversionFormatList() {
  return &Converters().txt;
}

const TRichConversionFormat* FindConversionFormat(const std::string& ext) {
  for (const TRichConversionFormat* f = ConversionFormatList(); f; f = f->Next)
    if (f->Extension == ext) return f;
  return nullptr;
}

}  // namespace kl
