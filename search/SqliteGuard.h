#pragma once
// Turns SQLite's failures into the index's own: a failure that means the file cannot serve
// (damaged, not a database, locked beyond waiting) becomes TSearchIndexUnusable, so its owner
// can set the file aside and build it again; any other failure passes through unchanged.

#include <sqlite3.h>

#include <SQLiteCpp/Exception.h>

#include "search/SearchIndex.h"

namespace kl {

inline bool MakesIndexUnusable(int code) {
  switch (code & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_CANTOPEN:
      return true;
    default:
      return false;
  }
}

template <typename Run>
auto Guarded(Run&& run) -> decltype(run()) {
  try {
    return run();
  } catch (const SQLite::Exception& failure) {
    if (MakesIndexUnusable(failure.getErrorCode()) ||
        MakesIndexUnusable(failure.getExtendedErrorCode()))
      throw TSearchIndexUnusable(failure.what());
    throw;
  }
}

}  // namespace kl
