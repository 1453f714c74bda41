// Pictures into entries. Targets, stated beside each case:
//   BitmapToRtf_4000x3000x24_1GBps      1 GB/s or more of picture data turned into the fragment,
//                                       with one allocation for the hex text
//   InsertBitmap_4000x3000x24_Under1s   the fragment streamed into the editor and the editor
//                                       painted again in under a second
//   InsertPhoto_12Mpx_Under1s           a 12-megapixel JPEG read, turned into its fragment,
//                                       streamed in and painted in under a second
//   PaintPastALargePhoto_Under16ms      one paint of the editor scrolled over a large photo in
//                                       under 16 ms, so scrolling stays smooth
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include "editor/KlRichEdit.h"
#include "framework/MemoryStream.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Photo.h"
#include "store/Pictures.h"

namespace {

kl::TBitmap LargeBitmap() {
  kl::TDib dib;
  dib.width = 4000;
  dib.height = 3000;
  dib.bitCount = 24;
  dib.bits.resize(dib.ImageSize());
  for (std::size_t i = 0; i < dib.bits.size(); ++i) dib.bits[i] = std::uint8_t(i * 31 + i / 12000);
  kl::TBitmap bitmap;
  bitmap.SetDib(std::move(dib));
  return bitmap;
}

// A 12-megapixel photo as a phone would make it, written once for the run.
const std::string& PhotoFile() {
  static QTemporaryDir dir;
  static const std::string path = [] {
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < image.width(); ++x) row[x] = qRgb(x / 16, y / 12, (x + y) / 28);
    }
    const QString file = dir.filePath(QStringLiteral("park.jpg"));
    image.save(file, "JPEG", 90);
    return file.toStdString();
  }();
  return path;
}

// The editor of the window, shown, with a line of text and the caret at its end.
struct Editor {
  Editor() {
    edit.resize(800, 600);
    edit.show();
    edit.SetText("Rex at the park:\n");
  }
  void Paint() { benchmark::DoNotOptimize(edit.grab()); }
  kl::TKlRichEdit edit;
};

void BM_BitmapToRtf_4000x3000x24_1GBps(benchmark::State& state) {
  const kl::TBitmap bitmap = LargeBitmap();
  std::string fragment;
  for (auto _ : state) {
    kl::BitmapToRTF(bitmap, fragment);
    benchmark::DoNotOptimize(fragment.data());
  }
  state.SetBytesProcessed(state.iterations() * std::int64_t(bitmap.Dib().ImageSize()));
}
BENCHMARK(BM_BitmapToRtf_4000x3000x24_1GBps)->Unit(benchmark::kMillisecond);

void BM_InsertBitmap_4000x3000x24_Under1s(benchmark::State& state) {
  const kl::TBitmap bitmap = LargeBitmap();
  for (auto _ : state) {
    state.PauseTiming();
    Editor editor;
    editor.Paint();
    state.ResumeTiming();
    std::string fragment;
    kl::BitmapToRTF(bitmap, fragment);
    {
      kl::TStringStream stream(fragment);
      fragment = std::string();
      kl::InsertRTF(editor.edit, stream);
    }
    editor.Paint();
  }
}
BENCHMARK(BM_InsertBitmap_4000x3000x24_Under1s)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InsertPhoto_12Mpx_Under1s(benchmark::State& state) {
  const std::string& file = PhotoFile();
  for (auto _ : state) {
    state.PauseTiming();
    Editor editor;
    editor.Paint();
    state.ResumeTiming();
    kl::TPhoto photo;
    photo.LoadFromFile(file);
    std::string fragment;
    kl::PhotoToRTF(photo, fragment);
    kl::TStringStream stream(fragment);
    kl::InsertRTF(editor.edit, stream);
    editor.Paint();
  }
}
BENCHMARK(BM_InsertPhoto_12Mpx_Under1s)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PaintPastALargePhoto_Under16ms(benchmark::State& state) {
  Editor editor;
  kl::TPhoto photo;
  photo.LoadFromFile(PhotoFile());
  std::string fragment;
  kl::PhotoToRTF(photo, fragment);
  kl::TStringStream stream(fragment);
  kl::InsertRTF(editor.edit, stream);
  editor.Paint();  // the first paint scales the photo once
  for (auto _ : state) editor.Paint();
}
BENCHMARK(BM_PaintPastALargePhoto_Under16ms)->Unit(benchmark::kMillisecond);

}  // namespace
