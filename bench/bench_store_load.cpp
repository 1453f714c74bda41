// Start-up's reading of the journal index: list section "Journal", then read the title of every
// entry key, as the entry tree is filled.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>

#include "store/GlobalUnit.h"
#include "store/IniFile.h"

namespace {

constexpr int kEntries = 10000;

// A journal of kEntries entries as the program writes it: titles and "Count" in "Journal",
// paths in "Entries".
std::string WriteJournal(const QTemporaryDir& dir) {
  const std::string folder = dir.path().toStdString() + "/";
  std::string text = "[Journal]\r\n";
  for (int n = 2; n < kEntries + 2; ++n) {
    text += std::to_string(n) + "=Training session " + std::to_string(n) + " at the park\r\n";
    if (n == 2) text += "Count=" + std::to_string(kEntries + 1) + "\r\n";
  }
  text += "[Entries]\r\n";
  for (int n = 2; n < kEntries + 2; ++n) {
    text += std::to_string(n) + "=" + folder + "Journals/2024031509" + std::to_string(10000 + n) +
            ".klb\r\n";
  }
  QFile file(QString::fromStdString(folder + "journal.ini"));
  if (!file.open(QIODevice::WriteOnly)) return {};
  file.write(text.data(), qint64(text.size()));
  return folder;
}

std::size_t LoadTitles(const kl::TIniFile& index) {
  std::size_t characters = 0;
  for (const std::string& key : index.ReadSection("Journal")) {
    const int number = kl::EntryNumberOfKey(key);
    if (number > 0) characters += index.ReadString("Journal", std::to_string(number), "").size();
  }
  return characters;
}

// Target: under 200 ms for 10,000 entries, from a freshly opened index (the file is read and
// parsed once, then every title read checks only that the file is unchanged).
void BM_StartupLoadJournalEntries10000(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string folder = WriteJournal(dir);
  if (folder.empty()) {
    state.SkipWithError("could not write the journal");
    return;
  }
  for (auto _ : state) {
    kl::TIniFile index(folder + "journal.ini");
    benchmark::DoNotOptimize(LoadTitles(index));
  }
}
BENCHMARK(BM_StartupLoadJournalEntries10000)->Unit(benchmark::kMillisecond);

// Target: under 200 ms; the tree is filled again after every save, on the index already open.
void BM_ReloadJournalEntries10000(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string folder = WriteJournal(dir);
  kl::TIniFile index(folder + "journal.ini");
  LoadTitles(index);
  for (auto _ : state) benchmark::DoNotOptimize(LoadTitles(index));
}
BENCHMARK(BM_ReloadJournalEntries10000)->Unit(benchmark::kMillisecond);

// Target: under 200 ms for recording one new entry in a 10,000-entry index (number, fresh name,
// one atomic rewrite of the file).
void BM_SaveEntryInto10000(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string folder = WriteJournal(dir);
  kl::SetAppFolder(folder);
  kl::OpenJournalIni();
  for (auto _ : state) {
    std::string fileName;
    benchmark::DoNotOptimize(kl::SaveEntry(-1, "New session", fileName));
  }
  kl::CloseJournalIni();
}
BENCHMARK(BM_SaveEntryInto10000)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
