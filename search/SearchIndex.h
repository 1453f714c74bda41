#pragma once
// The search index: one SQLite file beside the journal ("journal.search.db") holding, per entry,
// its number, title, file, the file's size and modification time and its plain text, the text
// and title in a full-text table (FTS5). It is a cache: deleting it loses nothing, and it is
// built again from the entry files. Each thread opens its own TSearchIndex; the file is shared
// through SQLite's own locking in WAL mode, so readers never wait for a writer.

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace SQLite {
class Database;
}

namespace kl {

// A file's size and modification time; both -1 for a file that is not there.
struct TFileStamp {
  long long size = -1;
  long long mtimeNs = -1;
  bool operator==(const TFileStamp&) const = default;
};

TFileStamp StampOf(const std::string& path);

// What the index records of one entry besides its text. problem is empty for an entry whose
// file was read, else why it was skipped ("file missing", "not an RTF document", ...).
struct TIndexedEntry {
  int number = 0;
  std::string title;
  std::string file;
  TFileStamp stamp;
  std::string problem;
};

struct TSearchHit {
  int number = 0;
  std::string title;
  std::string snippet;
};

// Where a snippet marks the words that matched.
struct TSnippetMarks {
  std::string open = "\xC2\xAB";   // «
  std::string close = "\xC2\xBB";  // »
};

// The index file cannot serve: damaged, not an index at all, or locked beyond waiting.
class TSearchIndexUnusable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSearchIndex {
 public:
  // Long enough for another program's short write to finish; a lock held longer than this is
  // taken for a stuck one.
  static constexpr int kLockWaitMs = 10000;

  // Opens the index at path, creating it when missing, waiting at most lockWaitMs for another
  // connection's lock. Throws TSearchIndexUnusable.
  explicit TSearchIndex(const std::string& path, int lockWaitMs = kLockWaitMs);
  ~TSearchIndex();
  TSearchIndex(const TSearchIndex&) = delete;
  TSearchIndex& operator=(const TSearchIndex&) = delete;

  const std::string& Path() const { return path_; }

  // ---- Searching (SearchIndexQueries.cpp). A query the full-text syntax cannot parse is
  // searched as plain words; a query without words finds nothing. ----
  // The best `limit` entries (all when limit < 0), best first, each with a one-line snippet.
  std::vector<TSearchHit> Search(const std::string& query, int limit,
                                 const TSnippetMarks& marks = {});
  // Every matching entry's number, best first.
  std::vector<int> RankedMatches(const std::string& query);
  // The snippet of one entry for the query; empty when it does not match.
  std::string Snippet(const std::string& query, int number, const TSnippetMarks& marks = {});

  // ---- Recording (SearchIndexWrites.cpp) ----
  std::map<int, TIndexedEntry> Entries();
  // Records the entry and its text, replacing what was recorded under its number.
  void Put(const TIndexedEntry& entry, const QString& text);
  // Records the entry only while the index still holds what `seen` says (nothing, for an entry
  // that was not recorded): a slower reader never overwrites a newer row. True when written.
  bool PutIfUnchanged(const TIndexedEntry& entry, const QString& text,
                      const std::optional<TFileStamp>& seen);
  void Rename(int number, const std::string& title);
  void Drop(int number);
  // Stamps of the journal's own files (the index file and the entry folder) as last checked.
  TFileStamp JournalStamp(const std::string& name);
  void SetJournalStamp(const std::string& name, const TFileStamp& stamp);

  // A write transaction, taken at once so it never has to wait half-way.
  class Batch {
   public:
    explicit Batch(TSearchIndex& index);
    ~Batch();
    void Commit();

   private:
    TSearchIndex& index_;
    bool done_ = false;
  };

 private:
  void Configure();
  void CreateSchema();
  SQLite::Database& Db() { return *db_; }

  std::string path_;
  std::unique_ptr<SQLite::Database> db_;
};

// Renames an index file that cannot serve, with its -wal and -shm files, to "<path>.damaged"
// (replacing an older one); answers the new name.
std::string SetAsideIndex(const std::string& path);

// Opens the index at path. One that cannot serve is set aside and a new, empty one made in its
// place; message then says so in words for the user, else it is left empty.
std::unique_ptr<TSearchIndex> OpenSearchIndex(const std::string& path, std::string& message);

// The journal's index file: "journal.search.db" in the folder kept beside the journal.
std::string SearchIndexFile();

}  // namespace kl
