// Golden round trips: files as LibreOffice Writer, Word, WordPad and pandoc write them (and one
// that LibreOffice Writer itself saved) are read,
// give the expected text, are written as this control writes RTF, and writing what that reads
// gives the same bytes again.
#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextImageFormat>

#include "RtfTestSupport.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit::rtf::test {
namespace {

QString golden(const char* name, const char* extension) {
  return QStringLiteral(KL_TEST_DATA "/rtf/golden/%1.%2").arg(name, extension);
}

class RtfGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(RtfGolden, ReadsWritesAndWritesTheSameAgain) {
  const QByteArray original = readFile(golden(GetParam(), "rtf"));
  ASSERT_FALSE(original.isEmpty());
  const auto first = readRtf(original);
  ASSERT_TRUE(first.result.ok);

  QString expectedText = QString::fromUtf8(readFile(golden(GetParam(), "txt")));
  expectedText.chop(1);  // the file's own last line end
  expectedText.replace(u'\n', u'\r');
  EXPECT_EQ(textOf(*first.doc), expectedText);

  const QByteArray written = writeAll(*first.doc);
  EXPECT_EQ(written, readFile(golden(GetParam(), "expected.rtf")));
  const auto second = readRtf(written);
  EXPECT_EQ(textOf(*second.doc), expectedText);
  EXPECT_EQ(writeAll(*second.doc), written);
}

TEST_P(RtfGolden, PicturesKeepTheBytesOfTheirGroup) {
  const QByteArray original = readFile(golden(GetParam(), "rtf"));
  const auto read = readRtf(original);
  int pictures = 0;
  for (QTextBlock b = read.doc->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextCharFormat f = it.fragment().charFormat();
      if (!f.isImageFormat()) continue;
      ++pictures;
      const QByteArray source = f.property(fmt::PictureSource).toByteArray();
      EXPECT_TRUE(source.startsWith('{') && source.endsWith('}'));
      EXPECT_TRUE(original.contains(source));
    }
  }
  EXPECT_EQ(pictures, 1);
}

INSTANTIATE_TEST_SUITE_P(Writers, RtfGolden,
                         ::testing::Values("libreoffice", "libreoffice-export", "word", "wordpad",
                                           "pandoc"));

}  // namespace
}  // namespace richedit::rtf::test
