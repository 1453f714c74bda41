#include "search/JournalCheck.h"

#include <chrono>
#include <map>
#include <optional>
#include <set>

#include "search/EntryText.h"
#include "search/JournalStamps.h"
#include "store/GlobalUnit.h"
#include "store/IniFile.h"

namespace kl {
namespace {

// Entries read between two writes: small enough that a save's row is never held up long
// behind them, large enough that building a whole journal is not slowed by its commits.
constexpr std::size_t kBatchEntries = 64;

struct Pending {
  TIndexedEntry entry;
  QString text;
  std::optional<TFileStamp> seen;  // what the index held when the check looked
};

void WriteBatch(TSearchIndex& index, std::vector<Pending>& pending) {
  if (pending.empty()) return;
  TSearchIndex::Batch batch(index);
  for (const Pending& item : pending) index.PutIfUnchanged(item.entry, item.text, item.seen);
  batch.Commit();
  pending.clear();
}

Pending ReadPending(const TRecordedEntry& recorded, std::optional<TFileStamp> seen) {
  const TEntryText read = ReadEntryText(recorded.path);
  return {
      {recorded.number, recorded.title, recorded.path, read.stamp, read.problem}, read.text, seen};
}

}  // namespace

std::vector<TRecordedEntry> ReadRecordedEntries(const std::string& journalIni) {
  const TIniFile ini(journalIni);
  std::map<int, std::string> paths;
  for (const auto& [key, value] : ini.ReadSectionValues("Entries")) {
    const int number = EntryNumberOfKey(key);
    if (number > 0) paths.emplace(number, value);
  }
  std::vector<TRecordedEntry> entries;
  std::set<int> listed;
  for (const auto& [key, title] : ini.ReadSectionValues("Journal")) {
    const int number = EntryNumberOfKey(key);
    if (number <= 0 || !listed.insert(number).second) continue;
    const auto path = paths.find(number);
    entries.push_back(
        {number, title, path == paths.end() ? std::string() : ResolveEntryFile(path->second)});
  }
  return entries;
}

TCheckReport CheckJournal(TSearchIndex& index, const TCheckProgress& progress,
                          const std::atomic<bool>* stop) {
  // Taken first: whatever changes while the check runs is seen by the next one.
  const TJournalStamps stamps = CurrentJournalStamps();
  const std::vector<TRecordedEntry> recorded = ReadRecordedEntries(JournalIniPath());
  std::map<int, TIndexedEntry> indexed = index.Entries();
  const int total = int(recorded.size());
  const auto stopped = [stop] { return stop && stop->load(); };

  TCheckReport report;
  int done = 0;
  std::vector<const TRecordedEntry*> toRead;
  {
    TSearchIndex::Batch batch(index);
    std::set<int> listed;
    for (const TRecordedEntry& entry : recorded) {
      listed.insert(entry.number);
      const auto known = indexed.find(entry.number);
      if (known == indexed.end() || known->second.file != entry.path ||
          known->second.stamp != StampOf(entry.path)) {
        toRead.push_back(&entry);
        continue;
      }
      if (known->second.title != entry.title) index.Rename(entry.number, entry.title);
      ++done;
    }
    for (const auto& [number, entry] : indexed) {
      if (listed.count(number)) continue;
      index.Drop(number);
      ++report.dropped;
    }
    batch.Commit();
  }
  if (progress) progress(done, total);

  std::vector<Pending> pending;
  for (const TRecordedEntry* entry : toRead) {
    if (stopped()) break;
    const auto known = indexed.find(entry->number);
    pending.push_back(ReadPending(*entry, known == indexed.end()
                                              ? std::nullopt
                                              : std::optional<TFileStamp>(known->second.stamp)));
    ++report.read;
    ++done;
    if (pending.size() >= kBatchEntries) {
      WriteBatch(index, pending);
      if (progress) progress(done, total);
    }
  }
  WriteBatch(index, pending);
  report.stopped = stopped();
  if (!report.stopped) {
    TSearchIndex::Batch batch(index);
    RecordJournalStamps(index, stamps);
    batch.Commit();
  }
  if (progress) progress(done, total);
  return report;
}

void IndexEntryFile(TSearchIndex& index, int number, const std::string& title,
                    const std::string& path) {
  const TEntryText read = ReadEntryText(path);
  TSearchIndex::Batch batch(index);
  index.Put({number, title, path, read.stamp, read.problem}, read.text);
  batch.Commit();
}

}  // namespace kl
