// Searching and replacing in a long entry through the editor component, as its find and
// replace dialogs do it.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"
#include "framework/MemoryStream.h"
#include "framework/dialogs/FindDialog.h"

namespace {

// About 1 MB in paragraphs of training notes, with `dogs` occurrences of "dog" spread evenly.
std::string LongEntry(int dogs) {
  const std::string paragraph = "Rex held a sit-stay while the ball rolled past the ";
  std::string text;
  text.reserve(1'050'000);
  const std::size_t every = 1'000'000 / std::size_t(std::max(dogs, 1));
  int placed = 0;
  while (text.size() < 1'000'000) {
    text += paragraph.substr(0, every > 60 ? every - 8 : every);
    if (placed < dogs) {
      text += " dog";
      ++placed;
    }
    text += "\n";
  }
  return text;
}

void Load(kl::TKlRichEdit& edit, const std::string& text) {
  kl::TStringStream entry(text);
  edit.SetStreamFormat(kl::TRichStreamFormat::sfPlainText);
  edit.Lines().LoadFromStream(entry);
  edit.SetStreamFormat(kl::TRichStreamFormat::sfDefault);
  edit.SetSelection(0, 0, kl::ScrollCaret::No);
}

// Target: under 10 ms for a search that finds nothing in 1 MB.
void BM_FindNothingIn1MB_Under10ms(benchmark::State& state) {
  kl::TKlRichEdit edit;
  edit.resize(800, 600);
  Load(edit, LongEntry(0));
  const int length = edit.TextLength();
  for (auto _ : state) {
    if (edit.LocateText("German shepherd", 0, length, {}) != -1)
      state.SkipWithError("found text that is not there");
  }
}
BENCHMARK(BM_FindNothingIn1MB_Under10ms)->Unit(benchmark::kMillisecond);

// Target: under 500 ms to replace 10,000 occurrences in 1 MB with Replace All.
void BM_ReplaceAll10000In1MB_Under500ms(benchmark::State& state) {
  kl::TKlRichEdit edit;
  edit.resize(800, 600);
  const std::string text = LongEntry(10'000);
  kl::TReplaceDialog* dialog = edit.ShowReplaceDialog("dog", "hound");
  dialog->CloseDialog();
  dialog->Options.include(kl::TFindOption::frReplaceAll);
  int changes = 0;
  edit.OnChange = [&](kl::TObject*) { ++changes; };
  for (auto _ : state) {
    state.PauseTiming();
    Load(edit, text);
    changes = 0;
    state.ResumeTiming();
    edit.HandleDialogReplace(dialog);
    state.PauseTiming();
    if (changes != 1 || edit.LocateText("dog", 0, edit.TextLength(), {}) != -1)
      state.SkipWithError("Replace All left occurrences or told the host more than once");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ReplaceAll10000In1MB_Under500ms)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
