#pragma once
// The plain text of an entry file as the editor's control reads it: RTF escapes, code pages and
// \u decoded by the control's own RTF reader; pictures and objects left out; one line per
// paragraph.

#include <QString>
#include <string>

#include "search/SearchIndex.h"

namespace kl {

struct TEntryText {
  TFileStamp stamp;  // of the file as it was read
  QString text;
  std::string problem;  // empty when read, else why not ("file missing", ...)
};

// Safe to call on any thread: it builds a document of its own.
TEntryText ReadEntryText(const std::string& path);

}  // namespace kl
