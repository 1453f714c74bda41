// Speed of the RTF reader and writer. Targets, stated beside each case:
//   ReadTextHeavyRtf     50 MB/s or more of RTF read into the document
//   WriteTextHeavyRtf    100 MB/s or more of RTF written
//   DecodePictureHex     500 MB/s or more of picture hex digits decoded
//   ReadRichlyFormattedRtf  80% or more of the rate of InsertRichlyFormattedRuns, which puts
//                        the same runs into a document with no RTF to read
#include <benchmark/benchmark.h>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>
#include <vector>

#include "platform/richedit/rtf/RtfHex.h"
#include "platform/richedit/rtf/RtfReader.h"
#include "platform/richedit/rtf/RtfWriter.h"

using namespace richedit::rtf;

namespace {

const char* const kHeader =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman"
    "\\fcharset0 Times New Roman;}}{\\colortbl ;\\red200\\green0\\blue0;}\\viewkind4\\uc1\\pard"
    "\\f0\\fs20 ";

QByteArray document(const QByteArray& paragraph, qsizetype size) {
  QByteArray rtf = kHeader;
  while (rtf.size() < size) rtf += paragraph;
  rtf += "}";
  return rtf;
}

// Text-heavy: training notes as people write them, prose with a bold or italic word now and
// then, a few accented letters and some Unicode.
const QByteArray& textHeavy() {
  static const QByteArray rtf = document(
      "Bella held a steady sit for thirty seconds while the other dogs walked past, then came "
      "back on the first call across the whole field. We stopped at the caf\\'e9 on the way "
      "home and she settled under the table without a word from me. The \\b long line\\b0  "
      "worked well again today; next week we try the recall with the whistle only and fewer "
      "treats \\u8212? she is ready for it. Her left paw looked fine after the run, and the "
      "vet said the same on Tuesday, so the \\i agility class\\i0  can go on as "
      "planned.\\par\\r\\n",
      5 << 20);
  return rtf;
}

// Richly formatted: a change of format every few words.
const QByteArray& richlyFormatted() {
  static const QByteArray rtf = document(
      "Bella held a \\b steady\\b0  sit for \\i thirty\\i0  seconds while the \\cf1 other "
      "dogs\\cf0  walked past, then \\ul came back\\ulnone  on the \\b\\i first call\\b0\\i0 "
      " across the \\f1 whole field\\f0 . Caf\\'e9 stop; the \\b long line\\b0  worked and "
      "the \\i whistle\\i0  recall \\u8212? \\cf1 watch the left paw\\cf0 .\\par\\r\\n",
      5 << 20);
  return rtf;
}

void readDocument(benchmark::State& state, const QByteArray& rtf) {
  for (auto _ : state) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);  // as the control loads a whole document
    QTextCursor cursor(doc.get());
    benchmark::DoNotOptimize(RtfReader().read(rtf, cursor).ok);
    state.PauseTiming();  // tearing the document down is not part of reading it
    cursor = QTextCursor();
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * rtf.size());
}

void ReadTextHeavyRtf(benchmark::State& state) {  // target: 50 MB/s or more
  readDocument(state, textHeavy());
}
BENCHMARK(ReadTextHeavyRtf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// What a change of format every few words costs; nearly all of it is the document's own
// insertion work, one fragment per run (compare InsertRichlyFormattedRuns).
void ReadRichlyFormattedRtf(benchmark::State& state) {
  readDocument(state, richlyFormatted());
}
BENCHMARK(ReadRichlyFormattedRtf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The limit of this design for the document above: the same runs, with the same formats,
// inserted through QTextCursor with no RTF to read. Rates are per byte of the RTF, so the
// reader's rate divided by this one is the share of the limit it reaches (target: 80%).
struct Run {
  QString text;
  QTextCharFormat format;
  bool paragraphEnd = false;
};

std::vector<Run> runsOf(const QByteArray& rtf) {
  QTextDocument doc;
  QTextCursor cursor(&doc);
  RtfReader().read(rtf, cursor);
  std::vector<Run> runs;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it)
      runs.push_back({it.fragment().text(), it.fragment().charFormat()});
    if (block.next().isValid()) runs.push_back({{}, block.next().charFormat(), true});
  }
  return runs;
}

void InsertRichlyFormattedRuns(benchmark::State& state) {
  const std::vector<Run> runs = runsOf(richlyFormatted());
  for (auto _ : state) {
    auto doc = std::make_unique<QTextDocument>();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc.get());
    cursor.beginEditBlock();
    for (const Run& run : runs) {
      if (run.paragraphEnd)
        cursor.insertBlock(QTextBlockFormat(), run.format);
      else
        cursor.insertText(run.text, run.format);
    }
    cursor.endEditBlock();
    state.PauseTiming();
    cursor = QTextCursor();
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * richlyFormatted().size());
}
BENCHMARK(InsertRichlyFormattedRuns)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void WriteTextHeavyRtf(benchmark::State& state) {  // target: 100 MB/s or more
  QTextDocument doc;
  QTextCursor cursor(&doc);
  RtfReader().read(textHeavy(), cursor);
  qsizetype written = 0;
  for (auto _ : state) {
    const QByteArray out = RtfWriter().write(doc, 0, doc.characterCount() - 1);
    written += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(written);
}
BENCHMARK(WriteTextHeavyRtf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void DecodePictureHex(benchmark::State& state) {  // target: 500 MB/s or more
  QByteArray bytes(4 << 20, '\0');
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 131 + 7);
  QByteArray hex;
  appendHex(hex, bytes.constData(), bytes.size());  // 128 digits to the line, as writers do
  for (auto _ : state) {
    HexDecoder decoder;
    QByteArray out;
    out.reserve(bytes.size());
    decoder.feed(std::string_view(hex.constData(), std::size_t(hex.size())), out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * hex.size());
}
BENCHMARK(DecodePictureHex)->Unit(benchmark::kMillisecond);

void ReadPictureRtf(
    benchmark::State& state) {  // the whole road for a picture: lexer, hex, kept bytes
  QByteArray data(2 << 20, '\0');
  for (qsizetype i = 0; i < data.size(); ++i) data[i] = char(i * 31);
  QByteArray rtf = "{\\rtf1 {\\pict\\wmetafile8\\picw2540\\pich2540\r\n";
  appendHex(rtf, data.constData(), data.size());
  rtf += "}}";
  for (auto _ : state) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    benchmark::DoNotOptimize(RtfReader().read(rtf, cursor).ok);
  }
  state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(ReadPictureRtf)->Unit(benchmark::kMillisecond);

}  // namespace
