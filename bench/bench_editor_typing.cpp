// One typed character through the editor component on a long entry: the replacement of the
// selection with its change and selection notifications, as the window's handlers see them.
#include <benchmark/benchmark.h>

#include <string>

#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"
#include "framework/MemoryStream.h"

namespace {

// About 1 MB in 20,000 paragraphs of training notes.
std::string LongEntry() {
  const std::string paragraph =
      "Rex held a sit-stay for two minutes while the ball rolled past him.\n";
  std::string text;
  while (text.size() < 1'000'000) text += paragraph.substr(0, 49) + "\n";
  return text.substr(0, text.size());
}

// Target: under 5 ms per typed character.
void BM_TypeOneCharacter_Under5ms(benchmark::State& state) {
  kl::TKlRichEdit edit;
  edit.resize(800, 600);
  edit.show();
  kl::TStringStream entry(LongEntry());
  edit.SetStreamFormat(kl::TRichStreamFormat::sfPlainText);
  edit.Lines().LoadFromStream(entry);
  edit.SetStreamFormat(kl::TRichStreamFormat::sfDefault);
  int changes = 0, selections = 0;
  edit.OnChange = [&](kl::TObject*) { ++changes; };
  edit.OnSelectionChange = [&](kl::TObject*) { ++selections; };
  state.counters["paragraphs"] = edit.Lines().Count();
  int caret = edit.TextLength() / 2;
  for (auto _ : state) {
    edit.SetSelection(caret, caret, kl::ScrollCaret::No);
    edit.SetSelectedText("x");
    ++caret;
  }
  if (changes < state.iterations()) state.SkipWithError("a typed character raised no OnChange");
  benchmark::DoNotOptimize(selections);
}
BENCHMARK(BM_TypeOneCharacter_Under5ms)->Unit(benchmark::kMillisecond);

}  // namespace
