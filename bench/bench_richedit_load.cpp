// Opening and closing a 10 MB entry: the whole-text stream-in of a generated RTF file (as the
// editor loads an entry and klb-convert opens a file), the first questions the window asks
// after it, and tearing the control down again.
// Targets: stream-in with the first line queries under 1 s; destroying the control under 50 ms.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QByteArray>
#include <cstring>
#include <memory>

#include "platform/richedit/ByteArraySource.h"
#include "platform/richedit/RichEditControl.h"

using namespace richedit;

namespace {

const QByteArray& bigRtf() {
  static const QByteArray data = [] {
    const QByteArray para =
        "Bella held a steady sit for thirty seconds while the other dogs walked past, then came "
        "back on the first call across the whole field. Caf\\'e9 stop on the way home; the "
        "\\b long line\\b0  worked well and the \\i whistle\\i0  recall is getting reliable "
        "\\u8212? more treats next time, and \\cf1 watch the left paw\\cf0 . ";
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
        "{\\colortbl ;\\red200\\green0\\blue0;}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
    while (rtf.size() < 10 * 1024 * 1024) rtf += para + para + "\\par\r\n";
    rtf += "}";
    return rtf;
  }();
  return data;
}

std::unique_ptr<RichEditControl> openBig() {
  auto control = std::make_unique<RichEditControl>(WS_VSCROLL | ES_MULTILINE);
  control->resize(700, 500);
  control->show();
  control->Perform(EM_EXLIMITTEXT, 0, 0x7ffffffe);
  ByteArraySource source(bigRtf());
  EDITSTREAM in = source.stream();
  control->Perform(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
  // What the window asks once an entry is open: the caret's line for the status bar.
  benchmark::DoNotOptimize(control->Perform(EM_EXLINEFROMCHAR, 0, 0));
  benchmark::DoNotOptimize(control->Perform(EM_LINEINDEX, WPARAM(-1), 0));
  QApplication::processEvents();  // the first paint
  return control;
}

void BM_OpenTenMegabytes_under1s(benchmark::State& state) {
  bigRtf();
  for (auto _ : state) {
    auto control = openBig();
    state.PauseTiming();
    control.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenTenMegabytes_under1s)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_CloseTenMegabytes_under50ms(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto control = openBig();
    state.ResumeTiming();
    control.reset();
  }
}
BENCHMARK(BM_CloseTenMegabytes_under50ms)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
