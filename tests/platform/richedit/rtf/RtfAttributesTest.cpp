// Strike-through, underline types, highlighting, character spacing, direction marks and
// paragraph spacing: read, kept in the document, written back and read again the same.
#include <gtest/gtest.h>

#include <functional>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>

#include "RtfTestSupport.h"
#include "platform/richedit/RichEditTypes.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit::rtf::test {
namespace {

using namespace richedit::fmt;

const QByteArray kHeader =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
    "{\\colortbl ;\\red255\\green255\\blue0;\\red0\\green128\\blue0;}";

QTextCharFormat formatOfX(const QByteArray& body) {
  const auto read = readRtf(kHeader + body + "}");
  const int at = textOf(*read.doc).indexOf(u'X');
  EXPECT_GE(at, 0) << body.toStdString();
  return charFormatAt(*read.doc, at);
}

TEST(RtfAttributes, UnderlineWordsGiveTheirTypeAndAStyleThatDrawsIt) {
  struct Case {
    const char* body;
    int type;
    QTextCharFormat::UnderlineStyle style;
  } cases[] = {
      {"\\ul X", CFU_UNDERLINE, QTextCharFormat::SingleUnderline},
      {"\\ulw X", CFU_UNDERLINEWORD, QTextCharFormat::SingleUnderline},
      {"\\uldb X", CFU_UNDERLINEDOUBLE, QTextCharFormat::SingleUnderline},
      {"\\uld X", CFU_UNDERLINEDOTTED, QTextCharFormat::DotLine},
      {"\\uldash X", CFU_UNDERLINEDASH, QTextCharFormat::DashUnderline},
      {"\\uldashd X", CFU_UNDERLINEDASHDOT, QTextCharFormat::DashDotLine},
      {"\\uldashdd X", CFU_UNDERLINEDASHDOTDOT, QTextCharFormat::DashDotDotLine},
      {"\\ulwave X", CFU_UNDERLINEWAVE, QTextCharFormat::WaveUnderline},
      {"\\ulth X", CFU_UNDERLINETHICK, QTextCharFormat::SingleUnderline},
      {"\\ululdbwave X", CFU_UNDERLINEDOUBLEWAVE, QTextCharFormat::WaveUnderline},
      {"\\ulthldash X", CFU_UNDERLINETHICKLONGDASH, QTextCharFormat::DashUnderline},
      {"\\uldb\\ulnone X", 0, QTextCharFormat::NoUnderline},
      {"\\ulwave\\ulwave0 X", 0, QTextCharFormat::NoUnderline},
      {"\\ulwave\\uldb X", CFU_UNDERLINEDOUBLE, QTextCharFormat::SingleUnderline},
      {"{\\uldb a}X", 0, QTextCharFormat::NoUnderline},
  };
  for (const auto& c : cases) {
    const QTextCharFormat f = formatOfX(c.body);
    EXPECT_EQ(underlineTypeOf(f), c.type) << c.body;
    EXPECT_EQ(f.underlineStyle(), c.style) << c.body;
  }
}

TEST(RtfAttributes, StrikeHighlightAndSpacingAreRead) {
  EXPECT_TRUE(formatOfX("\\strike X").fontStrikeOut());
  EXPECT_TRUE(formatOfX("\\striked1 X").fontStrikeOut());
  EXPECT_FALSE(formatOfX("\\striked1\\striked0 X").fontStrikeOut());

  EXPECT_EQ(formatOfX("\\highlight1 X").background().color(), QColor(255, 255, 0));
  EXPECT_EQ(formatOfX("\\chcbpat2 X").background().color(), QColor(0, 128, 0));
  EXPECT_FALSE(formatOfX("\\highlight1\\highlight0 X").hasProperty(QTextFormat::BackgroundBrush));
  EXPECT_FALSE(formatOfX("\\highlight9 X").hasProperty(QTextFormat::BackgroundBrush));
  EXPECT_FALSE(formatOfX("\\highlight1\\plain X").hasProperty(QTextFormat::BackgroundBrush));

  EXPECT_EQ(formatOfX("\\expndtw60 X").intProperty(CharSpacing), 60);
  EXPECT_EQ(formatOfX("\\expnd-4 X").intProperty(CharSpacing), -20);
  EXPECT_EQ(formatOfX("\\expnd12\\expndtw61 X").intProperty(CharSpacing), 61);
  EXPECT_EQ(formatOfX("\\expndtw60 X").fontLetterSpacingType(), QFont::AbsoluteSpacing);
  EXPECT_DOUBLE_EQ(formatOfX("\\expndtw60 X").fontLetterSpacing(), 4.0);
  // A huge amount is bounded instead of pushing letters off any page.
  EXPECT_LE(formatOfX("\\expndtw2000000000 X").intProperty(CharSpacing), 31680);
  EXPECT_GE(formatOfX("\\expnd-2000000000 X").intProperty(CharSpacing), -31680);
}

TEST(RtfAttributes, DirectionMarksAndJoinersAreKeptAsTheirCharacters) {
  const auto read = readRtf("{\\rtf1 a\\ltrmark b\\rtlmark c\\zwj d\\zwnj e}");
  EXPECT_EQ(textOf(*read.doc), QString::fromUtf16(u"a\u200Eb\u200Fc\u200Dd\u200Ce"));
  EXPECT_EQ(textOf(*readRtf(writeAll(*read.doc)).doc), textOf(*read.doc));
}

TEST(RtfAttributes, ParagraphSpacingIsReadIntoTheRecordsTerms) {
  struct Case {
    const char* words;
    int before, after, rule, amount;
  } cases[] = {
      {"", 0, 0, LSR_SINGLE, 0},
      {"\\sb240\\sa120", 240, 120, LSR_SINGLE, 0},
      {"\\sl360\\slmult1", 0, 0, LSR_MULTIPLE, 30},
      {"\\slmult1\\sl480", 0, 0, LSR_MULTIPLE, 40},
      {"\\sl400\\slmult0", 0, 0, LSR_ATLEAST, 400},
      {"\\sl-300", 0, 0, LSR_EXACTLY, 300},
      {"\\sl0\\slmult1", 0, 0, LSR_SINGLE, 0},
      {"\\sb-50\\sa99999999", 0, 31680, LSR_SINGLE, 0},
      {"\\sb240\\pard", 0, 0, LSR_SINGLE, 0},
  };
  for (const auto& c : cases) {
    const auto read = readRtf(QByteArray("{\\rtf1") + c.words + " a\\par}");
    const QTextBlockFormat b = read.doc->begin().blockFormat();
    EXPECT_EQ(b.intProperty(BlockSpaceBefore), c.before) << c.words;
    EXPECT_EQ(b.intProperty(BlockSpaceAfter), c.after) << c.words;
    EXPECT_EQ(b.intProperty(BlockLineSpacingRule), c.rule) << c.words;
    EXPECT_EQ(b.intProperty(BlockLineSpacing), c.amount) << c.words;
    EXPECT_DOUBLE_EQ(b.topMargin(), c.before / kTwipsPerPixel) << c.words;
  }
}

TEST(RtfAttributes, LineSpacingShowsAsTheLineHeightOfEachRule) {
  auto blockOf = [](const char* words) {
    return readRtf(QByteArray("{\\rtf1") + words + " a\\par}").doc->begin().blockFormat();
  };
  EXPECT_FALSE(blockOf("").hasProperty(QTextFormat::LineHeight));
  const QTextBlockFormat half = blockOf("\\sl360\\slmult1");
  EXPECT_EQ(half.lineHeightType(), QTextBlockFormat::ProportionalHeight);
  EXPECT_DOUBLE_EQ(half.lineHeight(), 150.0);
  const QTextBlockFormat least = blockOf("\\sl600");
  EXPECT_EQ(least.lineHeightType(), QTextBlockFormat::MinimumHeight);
  EXPECT_DOUBLE_EQ(least.lineHeight(), 40.0);
  const QTextBlockFormat exact = blockOf("\\sl-300");
  EXPECT_EQ(exact.lineHeightType(), QTextBlockFormat::FixedHeight);
  EXPECT_DOUBLE_EQ(exact.lineHeight(), 20.0);
}

// Every new attribute on one word, written and read again: it comes back on that word only.
TEST(RtfAttributes, CharacterAttributesComeBackThroughTheWriter) {
  struct Case {
    const char* name;
    std::function<void(QTextCharFormat&)> set;
    std::function<bool(const QTextCharFormat&)> holds;
  } cases[] = {
      {"double underline", [](auto& f) { setUnderlineType(f, CFU_UNDERLINEDOUBLE); },
       [](const auto& f) { return underlineTypeOf(f) == CFU_UNDERLINEDOUBLE; }},
      {"wave underline", [](auto& f) { setUnderlineType(f, CFU_UNDERLINEWAVE); },
       [](const auto& f) { return underlineTypeOf(f) == CFU_UNDERLINEWAVE; }},
      {"hairline underline", [](auto& f) { setUnderlineType(f, CFU_UNDERLINEHAIRLINE); },
       [](const auto& f) { return underlineTypeOf(f) == CFU_UNDERLINE; }},
      {"highlight", [](auto& f) { f.setBackground(QColor(255, 255, 0)); },
       [](const auto& f) {
         return f.hasProperty(QTextFormat::BackgroundBrush) &&
                f.background().color() == QColor(255, 255, 0);
       }},
      {"expanded", [](auto& f) { setCharSpacing(f, 60); },
       [](const auto& f) { return f.intProperty(CharSpacing) == 60; }},
      {"condensed", [](auto& f) { setCharSpacing(f, -15); },
       [](const auto& f) { return f.intProperty(CharSpacing) == -15; }},
  };
  for (const auto& c : cases) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    cursor.insertText("a");
    QTextCharFormat f;
    c.set(f);
    cursor.insertText("X", f);
    cursor.insertText("b", QTextCharFormat());
    const QByteArray written = writeAll(doc);
    const auto read = readRtf(written);
    EXPECT_EQ(textOf(*read.doc), "aXb") << c.name;
    EXPECT_TRUE(c.holds(charFormatAt(*read.doc, 1))) << c.name << "\n" << written.toStdString();
    EXPECT_FALSE(c.holds(charFormatAt(*read.doc, 2))) << c.name << " leaks into the next run";
  }
}

TEST(RtfAttributes, ParagraphSpacingComesBackThroughTheWriter) {
  const char* sources[] = {"\\sb240\\sa120",    "\\sl360\\slmult1", "\\sl480\\slmult1",
                           "\\sl-300\\slmult0", "\\sl400\\slmult0", "\\sl300\\slmult1"};
  for (const char* words : sources) {
    const auto first = readRtf(QByteArray("{\\rtf1 a\\par") + words + " b\\par\\pard c\\par}");
    const QByteArray written = writeAll(*first.doc);
    EXPECT_TRUE(written.contains(words)) << words << "\n" << written.toStdString();
    const auto second = readRtf(written);
    for (QTextBlock a = first.doc->begin(), b = second.doc->begin(); a.isValid();
         a = a.next(), b = b.next()) {
      ASSERT_TRUE(b.isValid());
      for (int property :
           {BlockSpaceBefore, BlockSpaceAfter, BlockLineSpacingRule, BlockLineSpacing})
        EXPECT_EQ(a.blockFormat().intProperty(property), b.blockFormat().intProperty(property))
            << words << " in " << a.text().toStdString();
    }
  }
}

QString fixture(const char* name) {
  return QStringLiteral(KL_TEST_DATA "/rtf/attributes/%1").arg(QLatin1String(name));
}

QTextCharFormat formatOfWord(const QTextDocument& doc, const QString& word) {
  const int at = textOf(doc).indexOf(word);
  EXPECT_GE(at, 0) << word.toStdString();
  return charFormatAt(doc, at);
}

QTextBlockFormat blockHolding(const QTextDocument& doc, const QString& text) {
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    if (b.text().contains(text)) return b.blockFormat();
  ADD_FAILURE() << text.toStdString();
  return {};
}

// What LibreOffice Writer wrote from libreoffice-attributes.html, read, written and read again.
TEST(RtfAttributes, LibreOfficeFileKeepsItsAttributesThroughOurWriter) {
  const auto original = readRtf(readFile(fixture("libreoffice-attributes.rtf")));
  ASSERT_TRUE(original.result.ok);
  const auto again = readRtf(writeAll(*original.doc));
  for (const QTextDocument* doc : {original.doc.get(), again.doc.get()}) {
    EXPECT_TRUE(formatOfWord(*doc, "struck").fontStrikeOut());
    EXPECT_FALSE(formatOfWord(*doc, "Plain").fontStrikeOut());
    EXPECT_EQ(underlineTypeOf(formatOfWord(*doc, "single")), CFU_UNDERLINE);
    EXPECT_TRUE(formatOfWord(*doc, "marked").hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(formatOfWord(*doc, "spaced").intProperty(CharSpacing), 60);
    const QTextBlockFormat spaced = blockHolding(*doc, "Spaced paragraph");
    EXPECT_EQ(spaced.intProperty(BlockSpaceBefore), 240);
    EXPECT_EQ(spaced.intProperty(BlockSpaceAfter), 120);
    EXPECT_EQ(spaced.intProperty(BlockLineSpacingRule), LSR_MULTIPLE);
    EXPECT_EQ(spaced.intProperty(BlockLineSpacing), 30);
    const QTextBlockFormat exact = blockHolding(*doc, "Exact line");
    EXPECT_EQ(exact.intProperty(BlockLineSpacingRule), LSR_ATLEAST);
    EXPECT_EQ(exact.intProperty(BlockLineSpacing), 400);
  }
}

// LibreOffice itself reads what we write with its attributes (seen in the flat ODT it saves);
// run only where LibreOffice is installed.
TEST(RtfAttributes, LibreOfficeReadsOurAttributes) {
  const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
  if (soffice.isEmpty()) GTEST_SKIP() << "LibreOffice is not installed";
  const auto read = readRtf(readFile(fixture("libreoffice-attributes.rtf")));
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile out(dir.filePath("ours.rtf"));
  ASSERT_TRUE(out.open(QIODevice::WriteOnly));
  out.write(writeAll(*read.doc));
  out.close();
  QProcess process;
  process.start(soffice, {"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless",
                          "--convert-to", "fodt", "--outdir", dir.path(), out.fileName()});
  ASSERT_TRUE(process.waitForFinished(240000));
  const QString odt = QString::fromUtf8(readFile(dir.filePath("ours.fodt")));
  ASSERT_FALSE(odt.isEmpty()) << process.readAllStandardError().toStdString();
  for (const char* attribute :
       {"text-line-through-style=\"solid\"", "style:text-underline-style=\"solid\"",
        "fo:background-color=\"#ffff00\"", "fo:letter-spacing=\"0.0417in\"",
        "fo:margin-top=\"0.1665in\"", "fo:line-height=\"150%\"",
        "style:line-height-at-least=\"0.278in\""})
    EXPECT_TRUE(odt.contains(QLatin1String(attribute))) << attribute;
}

}  // namespace
}  // namespace richedit::rtf::test
