// Hostile and broken streams: each must load what it can or fail with a message, never crash,
// hang or allocate beyond what the data itself could justify.
#include <gtest/gtest.h>

#include <QDir>

#include "RtfTestSupport.h"

namespace richedit::rtf::test {
namespace {

struct HostileCase {
  const char* name;
  QByteArray rtf;
  QString textStartsWith;  // what must survive
};

void PrintTo(const HostileCase& c, std::ostream* os) {
  *os << c.name;
}

class RtfHostile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(RtfHostile, LoadsWhatItCan) {
  const auto read = readRtf(GetParam().rtf);
  ASSERT_TRUE(read.result.ok);
  EXPECT_TRUE(textOf(*read.doc).startsWith(GetParam().textStartsWith))
      << textOf(*read.doc).left(80).toStdString();
  // What was loaded can be saved and loaded again.
  EXPECT_TRUE(readRtf(writeAll(*read.doc)).result.ok);
}

QByteArray repeated(const char* piece, int times) {
  return QByteArray(piece).repeated(times);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, RtfHostile,
    ::testing::Values(
        HostileCase{
            "100000 nested groups, balanced",
            "{\\rtf1 start" + repeated("{", 100000) + "deep" + repeated("}", 100000) + " end}",
            "start end"},
        HostileCase{"100000 groups never closed", "{\\rtf1 start" + repeated("{\\b x", 100000),
                    "start"},
        HostileCase{"closing braces beyond the document", "{\\rtf1 kept}}}}} after", "kept"},
        HostileCase{"truncated inside the text", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 hello wor",
                    "hello wor"},
        HostileCase{"truncated inside a picture", "{\\rtf1 text{\\pict\\pngblip 89504e47", "text"},
        HostileCase{"truncated inside the font table", "{\\rtf1{\\fonttbl{\\f0 Ari", ""},
        HostileCase{"bin longer than the data", "{\\rtf1 a{\\pict\\bin2147483647 xyz", "a"},
        HostileCase{"bin with a huge number", "{\\rtf1 a\\bin99999999999999999999999 xyz}", "a"},
        HostileCase{"bin negative", "{\\rtf1 a\\bin-5 b}", "ab"},
        HostileCase{"bad hex digits", "{\\rtf1 a\\'zzb\\'4\\'}", "azzb"},
        HostileCase{"hex at the very end", "{\\rtf1 a\\'", "a"},
        HostileCase{"backslash at the very end", "{\\rtf1 a\\", "a"},
        HostileCase{
            "huge numeric parameters",
            "{\\rtf1\\fs99999999999999999999\\li-99999999999999\\fi2147483647\\ri-2147483648"
            "\\tx99999999999\\uc99999999 \\cf9999999\\f-99999999 a\\u99999999999 bcd\\par}",
            "a"},
        HostileCase{"control word of 10000 letters",
                    "{\\rtf1 a\\" + repeated("x", 10000) + "123 b}", "ab"},
        HostileCase{"ignorable word of 10000 letters",
                    "{\\rtf1 a{\\*\\" + repeated("y", 10000) + " z}b}", "ab"},
        HostileCase{"picture claiming 100000 by 100000 pixels",
                    "{\\rtf1 a{\\pict\\wbitmap0\\picw100000\\pich100000\\wbmbitspixel32"
                    "\\wbmwidthbytes400000 00ff00ff}b}",
                    "a"},
        HostileCase{"many tiny pictures", "{\\rtf1 " + repeated("{\\pict\\emfblip 00}", 2000) + "}",
                    ""},
        HostileCase{
            "fields inside fields",
            "{\\rtf1 " + repeated("{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt ", 3000) + "in",
            ""},
        HostileCase{"list levels without lists",
                    "{\\rtf1 \\ls99\\ilvl999{\\listlevel\\levelnfc23}{\\leveltext\\'ff}a\\par}",
                    "a"},
        HostileCase{"unicode skip running past the group", "{\\rtf1\\uc5 {\\u233 a}b}", "\u00e9b"},
        HostileCase{"nul bytes everywhere", QByteArray("{\\rtf1 a\0\0\\b\0 b}", 16), "a"}));

TEST(RtfHostile, SavingNeverBringsTextBackTwice) {
  // A picture or object keeps the bytes of its group; a group that has already put something
  // into the document cannot become one, or saving would write that content twice.
  const QByteArray cases[] = {
      "{\\rtf1 {\\*phs\\pict\\pngblip 00}x}",
      "{\\rtf1 {{\\pict\\emfblip 00}\\pict\\emfblip 01}}",
      "{\\rtf1 {a\\object\\objw10{\\result r}}}",
      "{\\rtf1 {b\\*\\shppict{\\pict\\pngblip 00}}}",
      "{\\rtf\\shppict{\\pict}\\pict}",
      "{\\rtf\\shppict{i\\pict}",
      "{\\rtf{\\shppict{\\pict}\\nonshppict{ }}",
      "{\\rtf{\\*\\shppict{\\pict}{\\nonshppict{ }}",
      "{\\rtf{\\shppict{le\\pict}",
      "{\\rtf1{\\*\\shppict{\\pict\\emfblip 01}{\\pict\\emfblip 02}}}",
      "{\\rtf1\\object{\\result r} x}",
  };
  for (const QByteArray& rtf : cases) {
    const auto first = readRtf(rtf);
    const auto second = readRtf(writeAll(*first.doc));
    EXPECT_EQ(textOf(*second.doc), textOf(*first.doc)) << rtf.toStdString();
  }
}

TEST(RtfHostile, DocumentWideWordsOutsideTheHeaderChangeNoText) {
  // The character set and default font belong to the document's header. Inside a group that is
  // kept byte for byte they would decode the text after it one way now and another way once
  // saved; after the first text they would decode part of the document differently.
  const QString cafe = QString::fromUtf8("caf\u00e9\u00b8");
  const QByteArray fonts = "{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset128 MS Mincho;}}";
  const QByteArray cases[] = {
      "{\\rtf1\\ansi{\\pict\\ansicpg932\\wmetafile8 00}caf\\'e9\\'b8}",
      "{\\rtf1\\ansi{\\pict\\mac\\wmetafile8 00}caf\\'e9\\'b8}",
      "{\\rtf1\\ansi{\\pict\\pc\\wmetafile8 00}caf\\'e9\\'b8}",
      "{\\rtf1\\ansi" + fonts + "{\\pict\\deff1\\wmetafile8 00}caf\\'e9\\'b8}",
      "{\\rtf1\\ansi" + fonts + "{\\object\\deff1\\objw9{\\result r}}caf\\'e9\\'b8}",
      "{\\rtf1\\ansi{\\*\\unknown\\pca}{\\b\\ansicpg1251}caf\\'e9\\'b8}",
      "{\\rtf1\\ansi caf\\mac\\'e9\\'b8}",
  };
  for (const QByteArray& rtf : cases) {
    const auto first = readRtf(rtf);
    ASSERT_TRUE(first.result.ok);
    EXPECT_TRUE(textOf(*first.doc).endsWith(cafe)) << rtf.toStdString();
    const QByteArray saved = writeAll(*first.doc);
    const auto second = readRtf(saved);
    EXPECT_EQ(textOf(*second.doc), textOf(*first.doc)) << rtf.toStdString();
    EXPECT_EQ(writeAll(*second.doc), saved) << rtf.toStdString();
  }
  // In the header they still apply.
  EXPECT_EQ(textOf(*readRtf("{\\rtf1\\mac caf\\'8e}").doc), QString::fromUtf8("caf\u00e9"));
  EXPECT_EQ(textOf(*readRtf("{\\rtf1\\ansi" + fonts + "\\deff1 \\'82\\'a0}").doc),
            QString::fromUtf8("\u3042"));
}

TEST(RtfHostile, NotRtfFailsWithAMessage) {
  for (const QByteArray& data : {QByteArray("}}}{\\rtf1 a}"), QByteArray("\xef\xbb\xbf{\\rtf1 a}"),
                                 QByteArray("rtf"), QByteArray(1000, '\0')}) {
    const auto read = readRtf(data);
    EXPECT_FALSE(read.result.ok);
    EXPECT_FALSE(read.result.error.isEmpty());
    EXPECT_TRUE(read.doc->isEmpty());
  }
}

TEST(RtfHostile, EveryPrefixOfADocumentLoads) {
  const QByteArray rtf =
      "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}{\\colortbl;\\red1\\green2\\blue3;}"
      "{\\*\\listtable{\\list{\\listlevel\\levelnfc0{\\leveltext\\'02\\'00.;}}\\listid1}}"
      "{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}\\f0\\ls1 One\\par"
      "{\\field{\\*\\fldinst HYPERLINK \"u\"}{\\fldrslt link}}\\u8364?\\'e9"
      "{\\pict\\dibitmap0 2800000001000000}{\\object\\objw9{\\result r}}\\bin2 ab\\par}";
  for (qsizetype n = 5; n <= rtf.size(); ++n) {
    const auto read = readRtf(rtf.left(n));
    EXPECT_TRUE(read.result.ok) << n;
  }
}

TEST(RtfHostile, CorpusFilesLoadOrFailCleanly) {
  const QDir dir(QStringLiteral(KL_TEST_DATA "/rtf/hostile"));
  const QStringList files = dir.entryList(QDir::Files);
  ASSERT_FALSE(files.isEmpty());
  for (const QString& name : files) {
    const auto read = readRtf(readFile(dir.filePath(name)));
    if (read.result.ok) {
      EXPECT_TRUE(readRtf(writeAll(*read.doc)).result.ok) << name.toStdString();
    } else {
      EXPECT_FALSE(read.result.error.isEmpty()) << name.toStdString();
    }
  }
}

}  // namespace
}  // namespace richedit::rtf::test
