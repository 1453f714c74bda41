// One save never changes a document: whatever the reader makes of any bytes, writing it and
// reading that again gives the same text and the same formatting. The formatting is compared
// as the writer stores it, so writing the document read back must give the same bytes.
#include <QTextCursor>
#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz/HeadlessQt.h"
#include "platform/richedit/rtf/RtfReader.h"
#include "platform/richedit/rtf/RtfWriter.h"

using namespace richedit::rtf;

namespace {

QByteArray writeAll(const QTextDocument& doc) {
  return RtfWriter().write(doc, 0, doc.characterCount() - 1);
}

void failIf(bool failed, const char* what, const QByteArray& saved) {
  if (!failed) return;
  std::fprintf(stderr, "round trip: %s\nsaved as:\n%s\n", what, saved.left(4000).constData());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartHeadlessQt(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
  QTextDocument first;
  QTextCursor firstCursor(&first);
  if (!RtfReader().read(input, firstCursor).ok) return 0;
  const QByteArray saved = writeAll(first);

  QTextDocument second;
  QTextCursor secondCursor(&second);
  failIf(!RtfReader().read(saved, secondCursor).ok, "what was saved does not read", saved);
  failIf(second.toRawText() != first.toRawText(), "the text changed", saved);
  failIf(writeAll(second) != saved, "the formatting changed", saved);
  return 0;
}
