#pragma once
// Reads an RTF stream into a QTextDocument at a cursor, in the formats DocumentFormat.h names.

#include <QByteArrayView>
#include <QString>

class QTextCursor;

namespace richedit::rtf {

struct ReadOptions {
  bool plainRtf = false;     // only keywords common to all languages: all this reader knows
  bool allowObjects = true;  // false: objects come in as their result only
  // A fragment put into the text keeps its final \par; a whole document swallows it.
  bool keepFinalBreak = false;
};

struct ReadResult {
  bool ok = false;  // false: the data is not RTF or could not be read at all
  QString error;    // why, in words a person can act on
};

class RtfReader {
 public:
  // Inserts the stream's content at the cursor inside one edit block. The caller has removed
  // any selection.
  ReadResult read(QByteArrayView data, QTextCursor& cursor, const ReadOptions& options = {});
};

}  // namespace richedit::rtf
