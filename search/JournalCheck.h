#pragma once
// Keeps the search index true to the journal: compares every recorded entry's file size and
// modification time with what the index holds, reads again what changed, adds what is new and
// drops what the journal no longer lists. It only reads the journal's files, never writes them.

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "search/SearchIndex.h"

namespace kl {

struct TRecordedEntry {
  int number = 0;
  std::string title;
  std::string path;  // resolved to where the file is now
};

// The entries "journal.ini" records, in its order. Throws kl::Exception when the index cannot
// be read.
std::vector<TRecordedEntry> ReadRecordedEntries(const std::string& journalIni);

struct TCheckReport {
  int read = 0;     // entry files read (new or changed)
  int dropped = 0;  // rows of entries the journal no longer lists
  bool stopped = false;
};

// done of total entries examined so far.
using TCheckProgress = std::function<void(int done, int total)>;

// Brings the index in line with the journal at AppFolder. Stops early, between entries, when
// stop becomes true. Throws TSearchIndexUnusable when the index cannot serve.
TCheckReport CheckJournal(TSearchIndex& index, const TCheckProgress& progress = {},
                          const std::atomic<bool>* stop = nullptr);

// Reads one entry's file and records it with its title.
void IndexEntryFile(TSearchIndex& index, int number, const std::string& title,
                    const std::string& path);

}  // namespace kl
