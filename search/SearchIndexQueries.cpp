// Searching the index: the query as typed when the full-text syntax reads it, else as plain
// words; best first by the engine's ranking, in which the title weighs more than the text.
#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <algorithm>

#include "search/SearchIndex.h"
#include "search/SearchQuery.h"
#include "search/SqliteGuard.h"

namespace kl {
namespace {

// Words of context a snippet shows around the matches.
constexpr int kSnippetWords = 16;

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// One line: the text's paragraph breaks and tabs become blanks.
std::string OneLine(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r' || c == '\t'; }, ' ');
  return text;
}

// Runs a query with the text as typed; when the full-text syntax cannot read it (a syntax
// error, an unknown column before a colon), again with the text as plain words. A failure that
// is not about the query passes through.
template <typename Run>
auto WithMatchExpression(const std::string& query, Run&& run) -> decltype(run(query)) {
  using Result = decltype(run(query));
  if (IsBlank(query)) return Result{};
  try {
    return Guarded([&] { return run(query); });
  } catch (const SQLite::Exception& failure) {
    if ((failure.getErrorCode() & 0xff) != SQLITE_ERROR) throw;
  }
  const std::string plain = PlainWordsExpression(query);
  if (plain.empty()) return Result{};
  return Guarded([&] { return run(plain); });
}

}  // namespace

std::vector<TSearchHit> TSearchIndex::Search(const std::string& query, int limit,
                                             const TSnippetMarks& marks) {
  return WithMatchExpression(query, [&](const std::string& expression) {
    SQLite::Statement select(Db(),
                             "SELECT rowid, title, snippet(entry_text, 1, ?, ?, '…', ?) "
                             "FROM entry_text WHERE entry_text MATCH ? ORDER BY rank LIMIT ?");
    select.bind(1, marks.open);
    select.bind(2, marks.close);
    select.bind(3, kSnippetWords);
    select.bind(4, expression);
    select.bind(5, limit < 0 ? -1 : limit);
    std::vector<TSearchHit> hits;
    while (select.executeStep()) {
      hits.push_back({select.getColumn(0).getInt(), OneLine(select.getColumn(1).getString()),
                      OneLine(select.getColumn(2).getString())});
    }
    return hits;
  });
}

std::vector<int> TSearchIndex::RankedMatches(const std::string& query) {
  return WithMatchExpression(query, [&](const std::string& expression) {
    SQLite::Statement select(Db(),
                             "SELECT rowid FROM entry_text WHERE entry_text MATCH ? ORDER BY rank");
    select.bind(1, expression);
    std::vector<int> numbers;
    while (select.executeStep()) numbers.push_back(select.getColumn(0).getInt());
    return numbers;
  });
}

std::string TSearchIndex::Snippet(const std::string& query, int number,
                                  const TSnippetMarks& marks) {
  return WithMatchExpression(query, [&](const std::string& expression) {
    SQLite::Statement select(Db(),
                             "SELECT snippet(entry_text, 1, ?, ?, '…', ?) FROM entry_text "
                             "WHERE entry_text MATCH ? AND rowid = ?");
    select.bind(1, marks.open);
    select.bind(2, marks.close);
    select.bind(3, kSnippetWords);
    select.bind(4, expression);
    select.bind(5, number);
    return select.executeStep() ? OneLine(select.getColumn(0).getString()) : std::string();
  });
}

}  // namespace kl
