// Opening the index file: its settings, its tables, and what becomes of a file that cannot
// serve.
#include "search/SearchIndex.h"

#include <sys/stat.h>

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <cstdio>

#include "search/SqliteGuard.h"
#include "store/GlobalUnit.h"

namespace kl {
namespace {

constexpr int kSchemaVersion = 1;

// Words are letters, digits, private-use characters and other symbols (so "🐕" is a word), with
// diacritics removed ("muller" finds "Müller"); the title weighs ten times the text.
constexpr const char* kCreateSchema = R"sql(
CREATE TABLE IF NOT EXISTS entry(
  number INTEGER PRIMARY KEY,
  title TEXT NOT NULL,
  file TEXT NOT NULL,
  size INTEGER NOT NULL,
  mtime INTEGER NOT NULL,
  problem TEXT NOT NULL DEFAULT '');
CREATE TABLE IF NOT EXISTS journal_stamp(
  name TEXT PRIMARY KEY,
  size INTEGER NOT NULL,
  mtime INTEGER NOT NULL);
CREATE VIRTUAL TABLE IF NOT EXISTS entry_text USING fts5(
  title, body,
  tokenize = "unicode61 remove_diacritics 2 categories 'L* N* Co So'");
INSERT INTO entry_text(entry_text, rank) VALUES('rank', 'bm25(10.0, 1.0)');
)sql";

}  // namespace

TFileStamp StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return {};
  return {static_cast<long long>(info.st_size),
          static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec};
}

TSearchIndex::TSearchIndex(const std::string& path, int lockWaitMs) : path_(path) {
  Guarded([this, lockWaitMs] {
    db_ = std::make_unique<SQLite::Database>(path_, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE,
                                             lockWaitMs);
    Configure();
    CreateSchema();
  });
}

TSearchIndex::~TSearchIndex() = default;

void TSearchIndex::Configure() {
  // WAL: readers (the search field) never wait for the writer, and two programs on one journal
  // share the file safely. The index is a cache, so a lost last write after a power cut is
  // only re-read at the next start.
  db_->exec("PRAGMA journal_mode = WAL");
  db_->exec("PRAGMA synchronous = NORMAL");
  db_->exec("PRAGMA mmap_size = 268435456");
  db_->exec("PRAGMA cache_size = -32768");
}

void TSearchIndex::CreateSchema() {
  const int version = db_->execAndGet("PRAGMA user_version").getInt();
  if (version == kSchemaVersion) return;
  if (version != 0)
    throw TSearchIndexUnusable("the index was written by another version of the program");
  // Taken at once: two programs starting together must not both create the tables.
  SQLite::Transaction create(*db_, SQLite::TransactionBehavior::IMMEDIATE);
  if (db_->execAndGet("PRAGMA user_version").getInt() == kSchemaVersion) return;
  db_->exec(kCreateSchema);
  db_->exec("PRAGMA user_version = " + std::to_string(kSchemaVersion));
  create.commit();
}

TSearchIndex::Batch::Batch(TSearchIndex& index) : index_(index) {
  Guarded([this] { index_.db_->exec("BEGIN IMMEDIATE"); });
}

TSearchIndex::Batch::~Batch() {
  if (done_) return;
  try {
    index_.db_->exec("ROLLBACK");
  } catch (...) {
    // Nothing was written; a failed rollback leaves SQLite to roll back on the next open.
  }
}

void TSearchIndex::Batch::Commit() {
  Guarded([this] { index_.db_->exec("COMMIT"); });
  done_ = true;
}

std::string SetAsideIndex(const std::string& path) {
  const std::string aside = path + ".damaged";
  for (const char* suffix : {"", "-wal", "-shm"}) {
    const std::string from = path + suffix;
    const std::string to = aside + suffix;
    std::remove(to.c_str());
    struct stat info {};
    if (::stat(from.c_str(), &info) != 0) continue;
    // A file that cannot be moved aside is removed: the index is only a cache.
    if (std::rename(from.c_str(), to.c_str()) != 0 && std::remove(from.c_str()) != 0)
      throw std::runtime_error("The search index " + from + " can neither be moved nor removed");
  }
  return aside;
}

std::unique_ptr<TSearchIndex> OpenSearchIndex(const std::string& path, std::string& message) {
  message.clear();
  try {
    return std::make_unique<TSearchIndex>(path);
  } catch (const TSearchIndexUnusable& failure) {
    const std::string aside = SetAsideIndex(path);
    message = "The search index could not be used (" + std::string(failure.what()) +
              "). It was set aside as " + aside + " and is being built again from the entries.";
  }
  return std::make_unique<TSearchIndex>(path);
}

std::string SearchIndexFile() {
  return JournalSideFolder() + "journal.search.db";
}

}  // namespace kl
