#pragma once
// How the control keeps rich-edit formatting in a QTextDocument. The engine, the RTF reader
// and the RTF writer all go through these names, so that what one stores the others read.
//
// Character formats (QTextCharFormat):
//   face         fontFamilies()[0]
//   size         fontPointSize() = twips / 20.0
//   bold         fontWeight() >= QFont::Bold; the exact weight in CharWeight
//   italic, underline, strike-out   fontItalic(), fontUnderline(), fontStrikeOut()
//   colour       ForegroundBrush; no ForegroundBrush property means the automatic colour
//   link         isAnchor() with anchorHref()
//   protected, character set, pitch and family: the properties below
//   background   BackgroundBrush; none means the automatic background
//   sub/superscript   verticalAlignment()
//   Text without a property shows the control's default format (EM_SETCHARFORMAT SCF_DEFAULT),
//   which the engine keeps as the document's default font.
// Paragraph formats (QTextBlockFormat): the rich-edit geometry in twips in the properties
// below; the Qt margins, tab positions and direction that lay it out are derived from them by
// applyParagraphGeometry, which every writer of those properties calls afterwards.
//   alignment    alignment(): Qt::AlignLeft, AlignRight, AlignHCenter, AlignJustify (not
//                absolute, so in a right-to-left paragraph left is its leading edge)
//   numbering    BlockNumbering; the label is drawn, never stored as text (numberingLabel)
// Pictures and objects: one QTextImageFormat character each; PictureSource keeps the group
// exactly as it was read, so that the writer gives it back byte for byte.

#include <QList>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>
#include <QTextOption>

namespace richedit::fmt {

enum Property : int {
  CharProtected = QTextFormat::UserProperty + 1,       // bool
  CharCharset = QTextFormat::UserProperty + 2,         // int, bCharSet
  CharPitchAndFamily = QTextFormat::UserProperty + 3,  // int, bPitchAndFamily
  CharWeight = QTextFormat::UserProperty + 4,          // int, 100..900
  CharAutoLink = QTextFormat::UserProperty + 5,        // bool: marked by URL detection

  BlockStartIndent = QTextFormat::UserProperty + 20,     // int twips, first line from the margin
  BlockRightIndent = QTextFormat::UserProperty + 21,     // int twips
  BlockOffset = QTextFormat::UserProperty + 22,          // int twips, other lines from the first
  BlockNumbering = QTextFormat::UserProperty + 23,       // int, PFN_* (0 none)
  BlockNumberingStart = QTextFormat::UserProperty + 24,  // int
  BlockNumberingStyle = QTextFormat::UserProperty + 25,  // int
  BlockNumberingTab = QTextFormat::UserProperty + 26,    // int twips
  BlockTabs = QTextFormat::UserProperty + 27,            // QList<int> twips, at most 32
  BlockRtl = QTextFormat::UserProperty + 28,             // bool

  PictureSource = QTextFormat::UserProperty + 40,     // QByteArray: the group as read
  PictureKind = QTextFormat::UserProperty + 41,       // QString: "dibitmap", "pngblip", "object"...
  PictureGoalWidth = QTextFormat::UserProperty + 42,  // int twips
  PictureGoalHeight = QTextFormat::UserProperty + 43,  // int twips
  CharHidden = QTextFormat::UserProperty + 44,         // bool: hidden text (\v), kept for saving
};

// Layout units are screen pixels at 96 per inch: 15 twips to the pixel.
constexpr double kTwipsPerPixel = 15.0;
inline double twipsToPixels(int twips) {
  return twips / kTwipsPerPixel;
}

// Sets the Qt layout of a paragraph from its rich-edit properties: margins from the geometry
// (every line starts at start + offset, the first line is pulled back by the offset, so a
// negative offset indents the first line further), tab stops, and direction. A numbered
// paragraph keeps all its lines at start + offset; its bullet or number is drawn in the hanging
// space before the first line, as the platform draws it.
inline void applyParagraphGeometry(QTextBlockFormat& block) {
  const int start = block.intProperty(BlockStartIndent);
  const int offset = block.intProperty(BlockOffset);
  const int right = block.intProperty(BlockRightIndent);
  const bool numbered = block.intProperty(BlockNumbering) != 0;
  // A right-to-left paragraph measures its indents from the right edge.
  const bool rtl = block.boolProperty(BlockRtl);
  const double leading = twipsToPixels(start + offset);
  const double trailing = twipsToPixels(right);
  block.setLeftMargin(rtl ? trailing : leading);
  block.setRightMargin(rtl ? leading : trailing);
  block.setTextIndent(numbered ? 0.0 : twipsToPixels(-offset));
  if (block.hasProperty(BlockTabs)) {
    QList<QTextOption::Tab> tabs;
    const QList<int> stops = block.property(BlockTabs).value<QList<int>>();
    for (int twips : stops)
      tabs.append(QTextOption::Tab(twipsToPixels(twips), QTextOption::LeftTab));
    block.setTabPositions(tabs);
  }
  if (block.hasProperty(BlockRtl)) {
    block.setLayoutDirection(block.boolProperty(BlockRtl) ? Qt::RightToLeft : Qt::LeftToRight);
  }
}

// Numbering styles of the paragraph record (wNumberingStyle).
constexpr int NumberingParen = 0x000;     // 1)
constexpr int NumberingParens = 0x100;    // (1)
constexpr int NumberingPeriod = 0x200;    // 1.
constexpr int NumberingPlain = 0x300;     // 1
constexpr int NumberingNoNumber = 0x400;  // the paragraph is part of the list but shows nothing

// The label drawn before a numbered paragraph: kind is PFN_* (1 bullet, 2 arabic, 3/4 lower and
// upper letters, 5/6 lower and upper roman), number counts from the list's start.
inline QString numberingLabel(int kind, int number, int style) {
  if (kind == 1) return QString(QChar(0x2022));
  if ((style & 0xF00) == NumberingNoNumber || kind < 2 || kind > 6) return {};
  QString digits;
  if (kind == 2) {
    digits = QString::number(number);
  } else if (kind == 3 || kind == 4) {
    for (int n = number < 1 ? 1 : number; n > 0; n = (n - 1) / 26) {
      digits.prepend(QChar(char16_t(u'a' + (n - 1) % 26)));
    }
  } else {
    static const int values[] = {1000, 900, 500, 400, 100, 90, 50, 40, 10, 9, 5, 4, 1};
    static const char* const numerals[] = {"m",  "cm", "d",  "cd", "c",  "xc", "l",
                                           "xl", "x",  "ix", "v",  "iv", "i"};
    int n = number < 1 ? 1 : (number > 3999 ? 3999 : number);
    for (int i = 0; i < 13; ++i) {
      for (; n >= values[i]; n -= values[i]) digits += QLatin1String(numerals[i]);
    }
  }
  if (kind == 4 || kind == 6) digits = digits.toUpper();
  switch (style & 0xF00) {
    case NumberingParens:
      return QLatin1Char('(') + digits + QLatin1Char(')');
    case NumberingPeriod:
      return digits + QLatin1Char('.');
    case NumberingPlain:
      return digits;
    default:
      return digits + QLatin1Char(')');
  }
}

}  // namespace richedit::fmt
