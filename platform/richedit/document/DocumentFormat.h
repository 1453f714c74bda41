#pragma once
// How the control keeps rich-edit formatting in a QTextDocument. The engine, the RTF reader
// and the RTF writer all go through these names, so that what one stores the others read.
//
// Character formats (QTextCharFormat):
//   face         fontFamilies()[0], with CharFaceKey beside it; set it through setFace
//   size         fontPointSize() = twips / 20.0
//   bold         fontWeight() >= QFont::Bold; the exact weight in CharWeight
//   italic, strike-out   fontItalic(), fontStrikeOut()
//   underline    CharUnderlineType (CFU_*), with the Qt underline style that draws it; read
//                and set it through underlineTypeOf and setUnderlineType
//   character spacing   CharSpacing in twips, drawn as Qt's absolute letter spacing
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
//   spacing      BlockSpaceBefore, BlockSpaceAfter, BlockLineSpacing and its rule: Qt's top and
//                bottom margins and line height, which the paragraph layout honours
// Pictures and objects: one QTextImageFormat character each; PictureSource keeps the group
// exactly as it was read, so that the writer gives it back byte for byte.

#include <QFont>
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
  CharUnderlineType = QTextFormat::UserProperty + 6,   // int, CFU_*; 0 for none
  CharSpacing = QTextFormat::UserProperty + 7,         // int twips between letters
  CharFaceKey = QTextFormat::UserProperty + 8,         // QString: the face again (see setFace)

  BlockStartIndent = QTextFormat::UserProperty + 20,     // int twips, first line from the margin
  BlockRightIndent = QTextFormat::UserProperty + 21,     // int twips
  BlockOffset = QTextFormat::UserProperty + 22,          // int twips, other lines from the first
  BlockNumbering = QTextFormat::UserProperty + 23,       // int, PFN_* (0 none)
  BlockNumberingStart = QTextFormat::UserProperty + 24,  // int
  BlockNumberingStyle = QTextFormat::UserProperty + 25,  // int
  BlockNumberingTab = QTextFormat::UserProperty + 26,    // int twips
  BlockTabs = QTextFormat::UserProperty + 27,            // QList<int> twips, at most 32
  BlockRtl = QTextFormat::UserProperty + 28,             // bool

  BlockSpaceBefore = QTextFormat::UserProperty + 29,      // int twips
  BlockSpaceAfter = QTextFormat::UserProperty + 30,       // int twips
  BlockLineSpacing = QTextFormat::UserProperty + 31,      // int, twips or 20ths of a line by rule
  BlockLineSpacingRule = QTextFormat::UserProperty + 32,  // int, bLineSpacingRule (0 single)
  // Kept for the paragraph record and not drawn: the PFE_* effects other than right-to-left
  // (keep together, keep with next, page break before, no line numbers, no widow control,
  // do not hyphenate, side by side), the style number, shading and borders.
  BlockEffects = QTextFormat::UserProperty + 60,        // int, PFE_* bits
  BlockStyle = QTextFormat::UserProperty + 61,          // int, sStyle
  BlockShadingWeight = QTextFormat::UserProperty + 62,  // int
  BlockShadingStyle = QTextFormat::UserProperty + 63,   // int
  BlockBorders = QTextFormat::UserProperty + 64,        // int, wBorders
  BlockBorderWidth = QTextFormat::UserProperty + 65,    // int twips
  BlockBorderSpace = QTextFormat::UserProperty + 66,    // int twips

  PictureSource = QTextFormat::UserProperty + 40,     // QByteArray: the group as read
  PictureKind = QTextFormat::UserProperty + 41,       // QString: "dibitmap", "pngblip", "object"...
  PictureGoalWidth = QTextFormat::UserProperty + 42,  // int twips
  PictureGoalHeight = QTextFormat::UserProperty + 43,  // int twips
  CharHidden = QTextFormat::UserProperty + 44,         // bool: hidden text (\v), kept for saving
};

// Underline types as the character record numbers them (CFU_*); the ones Qt cannot draw
// (double, thick, words only) show as a single line and are kept exactly for saving.
constexpr int kUnderlineTypeCount = 19;
inline QTextCharFormat::UnderlineStyle underlineStyleOf(int type) {
  switch (type) {
    case 0:
      return QTextCharFormat::NoUnderline;
    case 4:   // dotted
    case 17:  // thick dotted
      return QTextCharFormat::DotLine;
    case 5:   // dash
    case 13:  // long dash
    case 14:  // thick dash
    case 18:  // thick long dash
      return QTextCharFormat::DashUnderline;
    case 6:   // dash dot
    case 15:  // thick dash dot
      return QTextCharFormat::DashDotLine;
    case 7:   // dash dot dot
    case 16:  // thick dash dot dot
      return QTextCharFormat::DashDotDotLine;
    case 8:   // wave
    case 11:  // double wave
    case 12:  // heavy wave
      return QTextCharFormat::WaveUnderline;
    default:
      return QTextCharFormat::SingleUnderline;
  }
}

// The underline type of a format; formats made before types were kept (or by Qt's own
// setFontUnderline) read as a single underline when Qt draws one.
inline int underlineTypeOf(const QTextCharFormat& f) {
  const bool drawn = f.hasProperty(QTextFormat::TextUnderlineStyle)
                         ? f.underlineStyle() != QTextCharFormat::NoUnderline
                         : f.boolProperty(QTextFormat::FontUnderline);
  if (!drawn) return 0;
  const int type = f.intProperty(CharUnderlineType);
  return type > 0 && type < kUnderlineTypeCount ? type : 1;
}

// Sets the type (0 for none; an unknown type is a single underline) with the style that draws it.
inline void setUnderlineType(QTextCharFormat& f, int type) {
  if (type < 0 || type >= kUnderlineTypeCount) type = 1;
  f.setProperty(CharUnderlineType, type);
  f.setUnderlineStyle(underlineStyleOf(type));
}

// Layout units are screen pixels at 96 per inch: 15 twips to the pixel.
constexpr double kTwipsPerPixel = 15.0;
// Qt's table of formats hashes a list of families as its type name only, so formats that
// differ by face alone share one hash and each new one is compared with all of them: a
// document of 20,000 faces would take minutes to load. The face as a plain string beside the
// list gives every face its own hash; it says nothing the list does not.
inline void setFace(QTextCharFormat& f, const QString& face) {
  f.setFontFamilies(QStringList{face});
  f.setProperty(CharFaceKey, face);
}

inline double twipsToPixels(int twips) {
  return twips / kTwipsPerPixel;
}

inline void setCharSpacing(QTextCharFormat& f, int twips) {
  if (twips == 0) {
    f.clearProperty(CharSpacing);
    f.clearProperty(QTextFormat::FontLetterSpacing);
    f.clearProperty(QTextFormat::FontLetterSpacingType);
    return;
  }
  f.setProperty(CharSpacing, twips);
  f.setFontLetterSpacingType(QFont::AbsoluteSpacing);
  f.setFontLetterSpacing(twipsToPixels(twips));
}

// Sets the Qt spacing of a paragraph from its rich-edit spacing: the space before and after as
// margins, the line spacing rule as a line height (proportional in percent, or in pixels).
inline void applyParagraphSpacing(QTextBlockFormat& block) {
  if (block.hasProperty(BlockSpaceBefore) || block.hasProperty(QTextFormat::BlockTopMargin))
    block.setTopMargin(twipsToPixels(block.intProperty(BlockSpaceBefore)));
  if (block.hasProperty(BlockSpaceAfter) || block.hasProperty(QTextFormat::BlockBottomMargin))
    block.setBottomMargin(twipsToPixels(block.intProperty(BlockSpaceAfter)));
  const int value = block.intProperty(BlockLineSpacing);
  switch (block.intProperty(BlockLineSpacingRule)) {
    case 1:
      block.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
      break;
    case 2:
      block.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
      break;
    case 3:
      block.setLineHeight(twipsToPixels(value), QTextBlockFormat::MinimumHeight);
      break;
    case 4:
      block.setLineHeight(twipsToPixels(value), QTextBlockFormat::FixedHeight);
      break;
    case 5:
      if (value > 0) {
        block.setLineHeight(value * 5.0, QTextBlockFormat::ProportionalHeight);  // 20 is 100%
        break;
      }
      [[fallthrough]];  // no amount: single spacing
    default:
      block.clearProperty(QTextFormat::LineHeight);
      block.clearProperty(QTextFormat::LineHeightType);
      break;
  }
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
  applyParagraphSpacing(block);
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
