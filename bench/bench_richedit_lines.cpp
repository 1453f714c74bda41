// Line and position queries and one typed character on a 1 MB entry of 20,000 paragraphs.
// Targets: every query (EM_EXLINEFROMCHAR, EM_LINEINDEX, EM_LINELENGTH, EM_GETLINE,
// EM_EXGETSEL) under 50 us; one typed character (EM_REPLACESEL with the host's follow-up and
// its change and selection notifications) under 5 ms.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "platform/richedit/RichEditControl.h"

using namespace richedit;

namespace {

// Asks what the status bar asks on every change: the caret's line and column.
struct StatusSink : RichEditNotifySink {
  RichEditControl* control = nullptr;
  LRESULT answer = 0;
  void caret() {
    CHARRANGE r{};
    control->Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    answer += control->Perform(EM_EXLINEFROMCHAR, 0, r.cpMax);
    answer += control->Perform(EM_LINEINDEX, WPARAM(-1), 0);
  }
  void onCommandNotify(WORD) override { caret(); }
  LRESULT onNotify(NMHDR&) override {
    caret();
    return 0;
  }
};

struct Entry {
  std::unique_ptr<RichEditControl> control;
  StatusSink sink;
  LONG length = 0;
  LONG lines = 0;

  Entry() {
    control = std::make_unique<RichEditControl>(WS_VSCROLL | ES_MULTILINE);
    control->resize(700, 500);
    control->show();
    std::string text;
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) {
      // 20 to 90 characters, so that some paragraphs wrap at this width.
      const int words = 3 + int(random() % 14);
      std::string para = "Day " + std::to_string(i) + ":";
      for (int w = 0; w < words; ++w) para += " walk";
      text += para + "\r";
    }
    text.resize(std::max<size_t>(text.size(), 1 << 20), 'x');
    control->Perform(EM_EXLIMITTEXT, 0, 0xFFFFFF);  // as the editor sets it
    control->Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    sink.control = control.get();
    control->setNotifySink(&sink);
    control->Perform(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
    GETTEXTLENGTHEX ask{GTL_NUMCHARS, 0};
    length = LONG(control->Perform(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&ask), 0));
    lines = LONG(control->Perform(EM_GETLINECOUNT, 0, 0));
  }
};

Entry& entry() {
  static Entry e;
  return e;
}

void BM_ExLineFromChar_under50us(benchmark::State& state) {
  Entry& e = entry();
  std::mt19937 random(1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.control->Perform(EM_EXLINEFROMCHAR, 0, LONG(random() % e.length)));
  }
}
BENCHMARK(BM_ExLineFromChar_under50us)->Unit(benchmark::kMicrosecond);

void BM_LineIndex_under50us(benchmark::State& state) {
  Entry& e = entry();
  std::mt19937 random(2);
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.control->Perform(EM_LINEINDEX, random() % e.lines, 0));
  }
}
BENCHMARK(BM_LineIndex_under50us)->Unit(benchmark::kMicrosecond);

void BM_LineLength_under50us(benchmark::State& state) {
  Entry& e = entry();
  std::mt19937 random(3);
  for (auto _ : state) {
    benchmark::DoNotOptimize(e.control->Perform(EM_LINELENGTH, random() % e.length, 0));
  }
}
BENCHMARK(BM_LineLength_under50us)->Unit(benchmark::kMicrosecond);

void BM_GetLine_under50us(benchmark::State& state) {
  Entry& e = entry();
  std::mt19937 random(4);
  char buffer[4096];
  for (auto _ : state) {
    const WORD capacity = sizeof buffer;
    std::memcpy(buffer, &capacity, sizeof capacity);
    benchmark::DoNotOptimize(
        e.control->Perform(EM_GETLINE, random() % e.lines, reinterpret_cast<LPARAM>(buffer)));
  }
}
BENCHMARK(BM_GetLine_under50us)->Unit(benchmark::kMicrosecond);

void BM_ExGetSel_under50us(benchmark::State& state) {
  Entry& e = entry();
  CHARRANGE r{e.length / 2, e.length / 2 + 10};
  e.control->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&r));
  for (auto _ : state) {
    e.control->Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_ExGetSel_under50us)->Unit(benchmark::kMicrosecond);

// One key typed inside the entry, as the editor sends it: read the selection, replace it
// (undoable), select past the new text, scroll the caret into view. The typed text is taken out
// again, untimed, so that the entry keeps its length.
void TypeAndTakeBack(benchmark::State& state, const char* typed, int place) {
  Entry& e = entry();
  CHARRANGE caret{e.length / place, e.length / place};
  e.control->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  for (auto _ : state) {
    CHARRANGE r{};
    e.control->Perform(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&r));
    e.control->Perform(EM_REPLACESEL, 1, reinterpret_cast<LPARAM>(typed));
    CHARRANGE after{r.cpMin + 1, r.cpMin + 1};
    e.control->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&after));
    e.control->Perform(EM_SCROLLCARET, 0, 0);
    state.PauseTiming();
    CHARRANGE back{r.cpMin, r.cpMin + 1};
    e.control->Perform(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&back));
    e.control->Perform(EM_REPLACESEL, 0, 0);
    state.ResumeTiming();
  }
}

// A character in the middle of the entry.
void BM_TypedCharacter_under5ms(benchmark::State& state) {
  TypeAndTakeBack(state, "k", 2);
}
BENCHMARK(BM_TypedCharacter_under5ms)->Unit(benchmark::kMicrosecond);

// Enter a third of the way in: a new paragraph, so the line counts move (also under 5 ms).
void BM_TypedParagraphBreak_under5ms(benchmark::State& state) {
  TypeAndTakeBack(state, "\r", 3);
}
BENCHMARK(BM_TypedParagraphBreak_under5ms)->Unit(benchmark::kMicrosecond);

}  // namespace
