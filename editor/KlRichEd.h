#pragma once
// Process-wide state of the editor component: which rich-edit library version is loaded, the
// clipboard formats it registered and the list of file-extension converters.

#include <cstdint>
#include <string>

#include "editor/Conversion.h"

namespace kl {

// 1 to 3: the version of the rich-edit library loaded when the process started.
int RichEditVersion();
// Lets tests run the component's branches for the older library versions.
void SetRichEditVersionForTesting(int version);
// The major version of the system the program runs on, as the platform reports it; below 5 the
// control does not turn a right click into a context-menu request itself.
int SystemMajorVersion();
void SetSystemMajorVersionForTesting(int version);

// The identifiers of the clipboard formats registered at start, in registration order.
struct TRichEditClipboardFormats {
  std::uint32_t EmbeddedObject = 0;  // "Embedded Object"
  std::uint32_t LinkSource = 0;      // "Link Source"
  std::uint32_t RichText = 0;        // "Rich Text Format"
  std::uint32_t RichTextNoObjs = 0;  // "Rich Text Format Without Objects"
};
const TRichEditClipboardFormats& RichEditClipboardFormats();

// The head of the converter list ("txt" plain text, then "rtf" rich text).
TRichConversionFormat* ConversionFormatList();
// The first entry whose extension equals ext exactly, or nullptr.
const TRichConversionFormat* FindConversionFormat(const std::string& ext);

}  // namespace kl
