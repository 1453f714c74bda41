#include "platform/richedit/rtf/RtfReader.h"

#include <QTextCursor>

#include "platform/richedit/rtf/RtfLexer.h"
#include "platform/richedit/rtf/RtfParser.h"

namespace richedit::rtf {

ReadResult RtfReader::read(QByteArrayView data, QTextCursor& cursor, const ReadOptions& options) {
  qsizetype start = 0;  // blank lines before the group are no reason to refuse the stream
  while (start < data.size() &&
         (data[start] == ' ' || data[start] == '\r' || data[start] == '\n' || data[start] == '\t'))
    ++start;
  data = data.sliced(start);
  if (!data.startsWith("{\\rtf"))
    return {false, QStringLiteral("The data is not RTF: it does not start with {\\rtf.")};
  // Every keyword this reader knows is common to all languages, so plain RTF reads the same.
  cursor.beginEditBlock();
  RtfParser parser(
      data, cursor,
      options.allowObjects ? RtfParser::Objects::Keep : RtfParser::Objects::ResultOnly);
  RtfLexer::tokenize(data, parser);
  parser.finish(options.keepFinalBreak ? FinalBreak::Keep : FinalBreak::Drop);
  cursor.endEditBlock();
  return {true, {}};
}

}  // namespace richedit::rtf
