// Feeds arbitrary bytes to the RTF reader, then writes what it built and reads that again: no
// input may crash, hang, leak or read out of bounds, and what the writer makes must be readable.
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

#include "fuzz/HeadlessQt.h"
#include "platform/richedit/rtf/RtfReader.h"
#include "platform/richedit/rtf/RtfWriter.h"

using namespace richedit::rtf;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartHeadlessQt(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
  QTextDocument doc;
  QTextCursor cursor(&doc);
  const ReadResult first = RtfReader().read(input, cursor);
  if (!first.ok) {
    if (!doc.isEmpty() || first.error.isEmpty()) std::abort();  // refused data inserts nothing
    return 0;
  }
  const QByteArray written = RtfWriter().write(doc, 0, doc.characterCount() - 1);
  QTextDocument again;
  QTextCursor againCursor(&again);
  if (!RtfReader().read(written, againCursor).ok) std::abort();
  if (again.characterCount() != doc.characterCount()) std::abort();  // nothing lost on saving
  return 0;
}
