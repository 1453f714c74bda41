// Start-up's filling of the entry tree from a large journal: the window's own
// LoadJournalEntries, index reads and tree nodes together.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <string>

#include "app/EntryTree.h"
#include "app/MainForm.h"
#include "store/GlobalUnit.h"

namespace {

constexpr int kEntries = 10000;

// The index of a journal of kEntries entries, as the program writes it.
bool WriteJournal(const std::string& folder) {
  std::string text = "[Journal]\r\n";
  for (int n = 2; n < kEntries + 2; ++n) {
    text += std::to_string(n) + "=Training session " + std::to_string(n) + " at the park\r\n";
    if (n == 2) text += "Count=" + std::to_string(kEntries + 1) + "\r\n";
  }
  text += "[Entries]\r\n";
  for (int n = 2; n < kEntries + 2; ++n)
    text += std::to_string(n) + "=" + folder + "Journals/20240315" + std::to_string(100000 + n) +
            ".klb\r\n";
  QFile file(QString::fromStdString(folder + "journal.ini"));
  return file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) > 0;
}

// Target: under 200 ms for 10,000 entries.
void BM_LoadJournalEntries10000_Under200ms(benchmark::State& state) {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString() + "/";
  if (!WriteJournal(folder)) {
    state.SkipWithError("could not write the journal");
    return;
  }
  kl::SetAppFolder(folder);
  kl::OpenJournalIni();
  kl::TfrmMain form;
  for (auto _ : state) form.LoadJournalEntries();
  const int nodes = form.tvEntries->topLevelItem(0)->childCount();
  state.counters["nodes"] = nodes;
  if (nodes != kEntries) state.SkipWithError("the tree does not list every entry");
  kl::CloseJournalIni();
}
BENCHMARK(BM_LoadJournalEntries10000_Under200ms)->Unit(benchmark::kMillisecond);

}  // namespace
