// Search across the journal on a generated journal of 10,000 entries of about 5 KB of RTF each.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "bench/support/JournalGenerator.h"
#include "search/JournalCheck.h"
#include "search/SearchIndex.h"
#include "store/GlobalUnit.h"

namespace {

constexpr int kEntries = 10000;

// One generated journal and its built index for the whole run.
struct Journal {
  QTemporaryDir dir;
  std::string index;
  bool ok = false;

  Journal() {
    ok = dir.isValid() && kl::bench::GenerateJournal(dir.path().toStdString(), kEntries);
    kl::SetAppFolder(dir.path().toStdString());
    index = dir.filePath("journal.search.db").toStdString();
  }
};

Journal& TheJournal() {
  static Journal journal;
  return journal;
}

// Target: under 30 s to build the index of 10,000 entries from nothing.
void BM_BuildIndexFromNothing10000(benchmark::State& state) {
  Journal& journal = TheJournal();
  if (!journal.ok) return state.SkipWithError("could not write the journal");
  for (auto _ : state) {
    state.PauseTiming();
    for (const char* suffix : {"", "-wal", "-shm"})
      QFile::remove(QString::fromStdString(journal.index + suffix));
    state.ResumeTiming();
    kl::TSearchIndex index(journal.index);
    benchmark::DoNotOptimize(kl::CheckJournal(index).read);
  }
}
BENCHMARK(BM_BuildIndexFromNothing10000)->Unit(benchmark::kSecond)->Iterations(1);

// Target: under 1 s to re-check an unchanged journal of 10,000 entries at start-up.
void BM_RecheckUnchangedJournal10000(benchmark::State& state) {
  Journal& journal = TheJournal();
  kl::TSearchIndex index(journal.index);
  for (auto _ : state) benchmark::DoNotOptimize(kl::CheckJournal(index).read);
}
BENCHMARK(BM_RecheckUnchangedJournal10000)->Unit(benchmark::kMillisecond);

void Best50(benchmark::State& state, const std::string& query) {
  kl::TSearchIndex index(TheJournal().index);
  std::size_t hits = 0;
  for (auto _ : state) hits = index.Search(query, 50).size();
  state.counters["hits"] = double(hits);
}

// Target: under 20 ms for the best 50 with snippets, for a word every entry holds.
void BM_Best50OneWordInEveryEntry(benchmark::State& state) {
  Best50(state, "rex");
}
BENCHMARK(BM_Best50OneWordInEveryEntry)->Unit(benchmark::kMillisecond);

// Target: under 20 ms for a word in about 1% of the entries.
void BM_Best50RareWord(benchmark::State& state) {
  Best50(state, "zanzibar");
}
BENCHMARK(BM_Best50RareWord)->Unit(benchmark::kMillisecond);

// Target: under 50 ms for a three-word phrase.
void BM_Best50ThreeWordPhrase(benchmark::State& state) {
  Best50(state, "\"sit stay recall\"");
}
BENCHMARK(BM_Best50ThreeWordPhrase)->Unit(benchmark::kMillisecond);

// The window's filter as a person types: every match, best first, no snippets (target: under
// 20 ms, so the tree follows each key).
void BM_AllMatchesOneWordInEveryEntry(benchmark::State& state) {
  kl::TSearchIndex index(TheJournal().index);
  for (auto _ : state) benchmark::DoNotOptimize(index.RankedMatches("rex").size());
}
BENCHMARK(BM_AllMatchesOneWordInEveryEntry)->Unit(benchmark::kMillisecond);

}  // namespace
