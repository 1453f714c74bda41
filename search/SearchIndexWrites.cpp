// Recording entries in the index: their rows, their text, and the stamps of the journal's own
// files as last checked.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <cstdint>

#include "search/SearchIndex.h"
#include "search/SqliteGuard.h"

namespace kl {

std::map<int, TIndexedEntry> TSearchIndex::Entries() {
  return Guarded([this] {
    SQLite::Statement select(Db(), "SELECT number, title, file, size, mtime, problem FROM entry");
    std::map<int, TIndexedEntry> entries;
    while (select.executeStep()) {
      TIndexedEntry entry;
      entry.number = select.getColumn(0).getInt();
      entry.title = select.getColumn(1).getString();
      entry.file = select.getColumn(2).getString();
      entry.stamp = {select.getColumn(3).getInt64(), select.getColumn(4).getInt64()};
      entry.problem = select.getColumn(5).getString();
      entries.emplace(entry.number, std::move(entry));
    }
    return entries;
  });
}

void TSearchIndex::Put(const TIndexedEntry& entry, const QString& text) {
  Guarded([&] {
    SQLite::Statement row(Db(),
                          "INSERT OR REPLACE INTO entry(number, title, file, size, mtime, problem) "
                          "VALUES(?, ?, ?, ?, ?, ?)");
    row.bind(1, entry.number);
    row.bind(2, entry.title);
    row.bind(3, entry.file);
    row.bind(4, int64_t(entry.stamp.size));
    row.bind(5, int64_t(entry.stamp.mtimeNs));
    row.bind(6, entry.problem);
    row.exec();
    SQLite::Statement drop(Db(), "DELETE FROM entry_text WHERE rowid = ?");
    drop.bind(1, entry.number);
    drop.exec();
    SQLite::Statement insert(Db(), "INSERT INTO entry_text(rowid, title, body) VALUES(?, ?, ?)");
    insert.bind(1, entry.number);
    insert.bind(2, entry.title);
    const QByteArray body = text.toUtf8();
    insert.bindNoCopy(3, body.constData(), int(body.size()));
    insert.exec();
  });
}

bool TSearchIndex::PutIfUnchanged(const TIndexedEntry& entry, const QString& text,
                                  const std::optional<TFileStamp>& seen) {
  return Guarded([&] {
    SQLite::Statement select(Db(), "SELECT size, mtime FROM entry WHERE number = ?");
    select.bind(1, entry.number);
    std::optional<TFileStamp> now;
    if (select.executeStep())
      now = TFileStamp{select.getColumn(0).getInt64(), select.getColumn(1).getInt64()};
    if (now != seen) return false;
    Put(entry, text);
    return true;
  });
}

void TSearchIndex::Rename(int number, const std::string& title) {
  Guarded([&] {
    SQLite::Statement row(Db(), "UPDATE entry SET title = ? WHERE number = ?");
    row.bind(1, title);
    row.bind(2, number);
    row.exec();
    SQLite::Statement text(Db(), "UPDATE entry_text SET title = ? WHERE rowid = ?");
    text.bind(1, title);
    text.bind(2, number);
    text.exec();
  });
}

void TSearchIndex::Drop(int number) {
  Guarded([&] {
    for (const char* sql :
         {"DELETE FROM entry WHERE number = ?", "DELETE FROM entry_text WHERE rowid = ?"}) {
      SQLite::Statement drop(Db(), sql);
      drop.bind(1, number);
      drop.exec();
    }
  });
}

TFileStamp TSearchIndex::JournalStamp(const std::string& name) {
  return Guarded([&] {
    SQLite::Statement select(Db(), "SELECT size, mtime FROM journal_stamp WHERE name = ?");
    select.bind(1, name);
    if (!select.executeStep()) return TFileStamp{};
    return TFileStamp{select.getColumn(0).getInt64(), select.getColumn(1).getInt64()};
  });
}

void TSearchIndex::SetJournalStamp(const std::string& name, const TFileStamp& stamp) {
  Guarded([&] {
    SQLite::Statement row(
        Db(), "INSERT OR REPLACE INTO journal_stamp(name, size, mtime) VALUES(?, ?, ?)");
    row.bind(1, name);
    row.bind(2, int64_t(stamp.size));
    row.bind(3, int64_t(stamp.mtimeNs));
    row.exec();
  });
}

}  // namespace kl
