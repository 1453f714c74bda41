// The window-thread share of one autosave: what TfrmMain::Autosave does before the keeper's
// thread takes over (the editor's RTF made, handed to the writer). Writing and flushing the
// file happen on the writer thread and are left out of the timing.
//   BM_AutosaveWindowShare_100KB_Under20ms   target: under 20 ms
//   BM_AutosaveWindowShare_1MB_Under20ms     target: under 20 ms
//   BM_AutosaveWindowShare_1MB_FormatEveryFewWords   no target: shows that nearly all of the
//                                            share is the RTF writer, whose cost grows with the
//                                            number of format changes
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <string>

#include "app/MainForm.h"
#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"
#include "framework/Application.h"
#include "framework/MemoryStream.h"
#include "framework/dialogs/ScriptedDialogs.h"
#include "store/GlobalUnit.h"
#include "store/JournalKeeper.h"

namespace {

class BenchForm : public kl::TfrmMain {
 public:
  explicit BenchForm(std::string folder) : folder_(std::move(folder)) {}

 protected:
  void SetUpJournalPaths() override { kl::SetAppFolder(folder_); }

 private:
  std::string folder_;
};

// An entry of about `bytes` of RTF: training notes as people write them, prose with a bold or
// italic word now and then, a few accented letters and some Unicode.
std::string Entry(std::size_t bytes, bool formatEveryFewWords = false) {
  const char* const rich =
      "Bella held a \\b steady\\b0  sit for \\i thirty\\i0  seconds while the other dogs walked "
      "past, then \\ul came back\\ulnone  on the \\b\\i first call\\b0\\i0 .\\par\r\n";
  std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 ";
  while (formatEveryFewWords && rtf.size() < bytes) rtf += rich;
  while (rtf.size() < bytes)
    rtf +=
        "Bella held a steady sit for thirty seconds while the other dogs walked past, then came "
        "back on the first call across the whole field. We stopped at the caf\\'e9 on the way "
        "home and she settled under the table without a word from me. The \\b long line\\b0  "
        "worked well again today; next week we try the recall with the whistle only and fewer "
        "treats \\u8212? she is ready for it. Her left paw looked fine after the run, and the "
        "vet said the same on Tuesday, so the \\i agility class\\i0  can go on as "
        "planned.\\par\r\n";
  return rtf + "}";
}

void AutosaveWindowShare(benchmark::State& state, std::size_t bytes, bool rich = false) {
  QTemporaryDir dir;
  kl::Application().SetTitle("Kennel Logbook");
  kl::InstallScriptedDialogs().QueueModalResult(1);  // the About dialog
  BenchForm form(dir.path().toStdString());
  form.show();
  QApplication::processEvents();
  kl::TStringStream entry(Entry(bytes, rich));
  form.rchMain->Lines().LoadFromStream(entry);
  form.rchMain->SetModified(true);
  for (auto _ : state) {
    form.Autosave();
    state.PauseTiming();  // the writer thread's part
    form.Keeper()->WaitForWrites();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["rtf_bytes"] = double(entry.Size());
  form.rchMain->SetModified(false);
  form.close();
  kl::CloseJournalIni();
  kl::SetDialogs(nullptr);
}

void BM_AutosaveWindowShare_100KB_Under20ms(benchmark::State& state) {
  AutosaveWindowShare(state, 100 * 1024);
}
BENCHMARK(BM_AutosaveWindowShare_100KB_Under20ms)->Unit(benchmark::kMillisecond);

void BM_AutosaveWindowShare_1MB_Under20ms(benchmark::State& state) {
  AutosaveWindowShare(state, 1024 * 1024);
}
BENCHMARK(BM_AutosaveWindowShare_1MB_Under20ms)->Unit(benchmark::kMillisecond);

void BM_AutosaveWindowShare_1MB_FormatEveryFewWords(benchmark::State& state) {
  AutosaveWindowShare(state, 1024 * 1024, true);
}
BENCHMARK(BM_AutosaveWindowShare_1MB_FormatEveryFewWords)->Unit(benchmark::kMillisecond);

}  // namespace
