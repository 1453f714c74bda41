// Speed of the RTF reader and writer. Targets, stated beside each case:
//   ReadTextHeavyRtf     50 MB/s or more of RTF read into the document
//   WriteTextHeavyRtf    100 MB/s or more of RTF written
//   DecodePictureHex     500 MB/s or more of picture hex digits decoded
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>

#include "platform/richedit/rtf/RtfHex.h"
#include "platform/richedit/rtf/RtfReader.h"
#include "platform/richedit/rtf/RtfWriter.h"

using namespace richedit::rtf;

namespace {

// Training notes as a word processor saves them: paragraphs of prose with a bold or italic
// word now and then, a few accented letters and some Unicode.
QByteArray textHeavyRtf(int paragraphs) {
  QByteArray rtf =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}{\\f1\\froman"
      "\\fcharset0 Times New Roman;}}{\\colortbl ;\\red200\\green0\\blue0;}\\viewkind4\\uc1\\pard"
      "\\f0\\fs20 ";
  const QByteArray sentence =
      "Bella held a steady sit for thirty seconds while the other dogs walked past, then came "
      "back on the first call across the whole field. Caf\\'e9 stop on the way home; the "
      "\\b long line\\b0  worked well and the \\i whistle\\i0  recall is getting reliable \\u8212? "
      "more treats next time, and \\cf1 watch the left paw\\cf0 . ";
  for (int i = 0; i < paragraphs; ++i) {
    rtf += sentence;
    rtf += sentence;
    rtf += "\\par\r\n";
  }
  rtf += "}";
  return rtf;
}

const QByteArray& corpus() {
  static const QByteArray rtf = textHeavyRtf(6000);  // about 5 MB
  return rtf;
}

void ReadTextHeavyRtf(benchmark::State& state) {  // target: 50 MB/s or more
  const QByteArray& rtf = corpus();
  for (auto _ : state) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    benchmark::DoNotOptimize(RtfReader().read(rtf, cursor).ok);
  }
  state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(ReadTextHeavyRtf)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void WriteTextHeavyRtf(benchmark::State& state) {  // target: 100 MB/s or more
  QTextDocument doc;
  QTextCursor cursor(&doc);
  RtfReader().read(corpus(), cursor);
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

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts want an application object
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
