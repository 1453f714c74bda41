#pragma once
// Finds a text in a document without copying the whole document: the text is read in growing
// chunks from where the search starts, so a search that hits near its start (as each step of
// a Replace All does) reads little, and one that finds nothing reads the range once.

#include <QString>

class QTextDocument;

namespace richedit {

struct SearchOptions {
  bool down = true;        // toward the end; otherwise from `from` toward the start
  bool matchCase = false;  // otherwise case-insensitive for all of Unicode (case folding)
  bool wholeWord = false;  // neither neighbour of the hit is a word character
};

// Looks for `needle` (document form: paragraph breaks as U+2029) in the document. Downward: a
// hit starts at `from` or later and ends at `to` at the latest. Upward: a hit ends at `from` at
// the latest and starts at `to` or later. Answers the hit's first position, or -1.
int findInDocument(const QTextDocument& doc, const QString& needle, int from, int to,
                   const SearchOptions& options);

}  // namespace richedit
