// Printing a long entry into a PDF file through the editor's printing and the printer object.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <string>

#include "editor/KlRichEdit.h"
#include "editor/RichEditStrings.h"
#include "framework/MemoryStream.h"
#include "framework/dialogs/Dialogs.h"
#include "framework/printer/Printer.h"

namespace {

// Target: under 2 s to print a 100-page entry to PDF.
void BM_Print100PagesToPdf_Under2s(benchmark::State& state) {
  QTemporaryDir dir;
  kl::TKlRichEdit edit;
  edit.resize(800, 600);
  std::string text;
  for (int i = 0; text.size() < 960'000; ++i) {
    text += "Day " + std::to_string(i) +
            ": Rex held a sit-stay for two minutes while the ball rolled past him, then came "
            "to heel at the first call.\n";
  }
  kl::TStringStream entry(text);
  edit.SetStreamFormat(kl::TRichStreamFormat::sfPlainText);
  edit.Lines().LoadFromStream(entry);
  kl::Printer().Setup(kl::PrintRequest{"", 1, dir.filePath("entry.pdf").toStdString()});
  for (auto _ : state) edit.PrintDocument("Long entry");
  QFile pdf(dir.filePath("entry.pdf"));
  pdf.open(QIODevice::ReadOnly);
  state.counters["pages"] = double(pdf.readAll().count("/Type /Page\n"));
}
BENCHMARK(BM_Print100PagesToPdf_Under2s)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
