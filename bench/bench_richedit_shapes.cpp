// Stream-in of generated documents of the shapes that once made reading slow: many font or
// colour changes in one paragraph, a million short runs, a font table as long as the text, one
// long paragraph and large photos, each at 100 KB and at 10 MB, into a shown control.
// Target, per shape: the time per MB at 10 MB at most 1.5 times the time per MB at 100 KB
// (compare the ms_per_MB counters of the two sizes).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstring>
#include <map>
#include <memory>

#include "platform/richedit/ByteArraySource.h"
#include "platform/richedit/RichEditControl.h"
#include "support/RtfShapes.h"

using namespace richedit;

namespace {

const QByteArray& document(bench::Shape shape, qsizetype bytes) {
  static std::map<std::pair<int, qsizetype>, QByteArray> made;
  QByteArray& rtf = made[{int(shape), bytes}];
  if (rtf.isEmpty()) rtf = bench::makeShape(shape, bytes);
  return rtf;
}

void StreamIn(benchmark::State& state, bench::Shape shape, qsizetype bytes) {
  const QByteArray& rtf = document(shape, bytes);
  for (auto _ : state) {
    state.PauseTiming();
    auto control = std::make_unique<RichEditControl>(WS_VSCROLL | ES_MULTILINE);
    control->resize(700, 500);
    control->show();
    control->Perform(EM_EXLIMITTEXT, 0, 0x7ffffffe);
    QApplication::processEvents();
    state.ResumeTiming();
    ByteArraySource source(rtf);
    EDITSTREAM in = source.stream();
    control->Perform(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
    state.PauseTiming();
    control.reset();
    state.ResumeTiming();
  }
  const double megabytes = double(rtf.size()) / (1 << 20);
  // A rate inverted: milliseconds of stream-in per megabyte of RTF.
  state.counters["ms_per_MB"] =
      benchmark::Counter(double(state.iterations()) * megabytes / 1000.0,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

const bool registered = [] {
  for (const auto& info : bench::allShapes()) {
    for (const auto& [label, bytes] :
         {std::pair{"100KB", qsizetype(100 << 10)}, std::pair{"10MB", qsizetype(10 << 20)}}) {
      benchmark::RegisterBenchmark((std::string("BM_StreamIn/") + info.name + "/" + label).c_str(),
                                   [shape = info.shape, bytes = bytes](benchmark::State& state) {
                                     StreamIn(state, shape, bytes);
                                   })
          ->Unit(benchmark::kMillisecond)
          ->MinTime(1.0)
          ->UseRealTime();
    }
  }
  return true;
}();

}  // namespace
