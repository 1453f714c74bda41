#pragma once
// The quick test of whether the journal changed: the stamps of "journal.ini" and of the entry
// folder (every save renames a file into it) as the last full check saw them.

#include <string>

#include "search/SearchIndex.h"

namespace kl {

struct TJournalStamps {
  TFileStamp journalIni;
  TFileStamp journalFolder;
};

// Of the journal at AppFolder, as they are now.
TJournalStamps CurrentJournalStamps();
std::string JournalIniPath();

// Whether the journal may have changed since the last full check.
bool JournalMayHaveChanged(TSearchIndex& index);
void RecordJournalStamps(TSearchIndex& index, const TJournalStamps& stamps);

}  // namespace kl
