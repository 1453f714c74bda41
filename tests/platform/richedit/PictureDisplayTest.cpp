#include <QApplication>
#include <QClipboard>
#include <QtEndian>

#include "tests/platform/richedit/RichEditFixture.h"

namespace richedit::test {
namespace {

// "{\rtf1 {\pict\dibitmap <hex> }}" for a grey picture at 24 bits per pixel, as the program's
// picture command makes it.
std::string DibitmapFragment(int width, int height) {
  const int row = (width * 3 + 3) / 4 * 4;
  QByteArray dib(40, '\0');
  qToLittleEndian<quint32>(40, dib.data());
  qToLittleEndian<qint32>(width, dib.data() + 4);
  qToLittleEndian<qint32>(height, dib.data() + 8);
  qToLittleEndian<quint16>(1, dib.data() + 12);
  qToLittleEndian<quint16>(24, dib.data() + 14);
  qToLittleEndian<quint32>(quint32(row * height), dib.data() + 20);
  dib += QByteArray(row * height, char(0x90));
  return "{\\rtf1 {\\pict\\dibitmap " + dib.toHex().toUpper().toStdString() + " }}";
}

class PictureDisplayTest : public RichEditTest {
 protected:
  void streamIn(const std::string& rtf, WPARAM flags = SF_RTF) {
    struct Source {
      const std::string* text;
      std::size_t at = 0;
    } source{&rtf};
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&source), 0,
                      [](DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) -> DWORD {
                        auto* s = reinterpret_cast<Source*>(cookie);
                        const std::size_t n = std::min<std::size_t>(cb, s->text->size() - s->at);
                        std::memcpy(buffer, s->text->data() + s->at, n);
                        s->at += n;
                        *pcb = LONG(n);
                        return 0;
                      }};
    send(EM_STREAMIN, flags, &stream);
  }
  std::string streamOut() {
    std::string out;
    EDITSTREAM stream{reinterpret_cast<DWORD_PTR>(&out), 0,
                      [](DWORD_PTR cookie, BYTE* buffer, LONG cb, LONG* pcb) -> DWORD {
                        reinterpret_cast<std::string*>(cookie)->append(
                            reinterpret_cast<char*>(buffer), std::size_t(cb));
                        *pcb = cb;
                        return 0;
                      }};
    send(EM_STREAMOUT, SF_RTF, &stream);
    return out;
  }
  POINT posOf(LONG position) {
    POINT p{};
    send(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&p), position);
    return p;
  }
};

TEST_F(PictureDisplayTest, AWidePictureIsShownAtTheTextsWidthAndKeptWhole) {
  setText("");
  streamIn(DibitmapFragment(1000, 500), SF_RTF | SFF_SELECTION);
  replace("\rnext");
  ASSERT_EQ(range(0, -1), "\xEF\xBF\xBC\rnext");
  // The control is 300 wide: the picture takes its width and half of it in height.
  EXPECT_LE(posOf(1).x, 300);
  EXPECT_GT(posOf(1).x, 200);
  EXPECT_LT(posOf(2).y, 200);
  EXPECT_GT(posOf(2).y, 100);
  // Saved whole, with its size for other readers.
  EXPECT_NE(streamOut().find("{\\pict\\dibitmap0\\picw1000\\pich500\\picwgoal9360\\pichgoal4680"),
            std::string::npos);
}

TEST_F(PictureDisplayTest, ASmallPictureKeepsItsSize) {
  setText("");
  streamIn(DibitmapFragment(40, 30), SF_RTF | SFF_SELECTION);
  replace("\rnext");
  EXPECT_NEAR(posOf(1).x, 40 + posOf(0).x, 2);
  EXPECT_NEAR(posOf(2).y, 30, 8);
}

TEST_F(PictureDisplayTest, CopyAndPasteInsideTheEditorKeepThePicture) {
  setText("");
  streamIn(DibitmapFragment(20, 10), SF_RTF | SFF_SELECTION);
  replace(" and");
  select(0, 1);
  key(Qt::Key_C, QString(), Qt::ControlModifier);
  select(5, 5);
  key(Qt::Key_V, QString(), Qt::ControlModifier);
  EXPECT_EQ(range(0, -1), "\xEF\xBF\xBC and\xEF\xBF\xBC");
  const std::string saved = streamOut();
  const auto first = saved.find("\\dibitmap0\\picw20\\pich10");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(saved.find("\\dibitmap0\\picw20\\pich10", first + 1), std::string::npos);
}

}  // namespace
}  // namespace richedit::test
