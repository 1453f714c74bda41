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
// Paragraph formats (QTextBlockFormat): the rich-edit geometry in twips in the properties
// below; the Qt margins that lay it out are derived from them by applyParagraphGeometry.
// Pictures and objects: one QTextImageFormat character each; PictureSource keeps the group
// exactly as it was read, so that the writer gives it back byte for byte.

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextFormat>

namespace richedit::fmt {

enum Property : int {
  CharProtected = QTextFormat::UserProperty + 1,      // bool
  CharCharset = QTextFormat::UserProperty + 2,        // int, bCharSet
  CharPitchAndFamily = QTextFormat::UserProperty + 3, // int, bPitchAndFamily
  CharWeight = QTextFormat::UserProperty + 4,         // int, 100..900
  CharAutoLink = QTextFormat::UserProperty + 5,       // bool: marked by URL detection

  BlockStartIndent = QTextFormat::UserProperty + 20,  // int twips, first line from the margin
  BlockRightIndent = QTextFormat::UserProperty + 21,  // int twips
  BlockOffset = QTextFormat::UserProperty + 22,       // int twips, other lines from the first
  BlockNumbering = QTextFormat::UserProperty + 23,    // int, PFN_* (0 none)
  BlockNumberingStart = QTextFormat::UserProperty + 24,  // int
  BlockNumberingStyle = QTextFormat::UserProperty + 25,  // int
  BlockNumberingTab = QTextFormat::UserProperty + 26,    // int twips
  BlockTabs = QTextFormat::UserProperty + 27,         // QList<int> twips, at most 32
  BlockRtl = QTextFormat::UserProperty + 28,          // bool

  PictureSource = QTextFormat::UserProperty + 40,     // QByteArray: the group as read
  PictureKind = QTextFormat::UserProperty + 41,       // QString: "dibitmap", "pngblip", "object"...
  PictureGoalWidth = QTextFormat::UserProperty + 42,  // int twips
  PictureGoalHeight = QTextFormat::UserProperty + 43, // int twips
};

// Layout units are screen pixels at 96 per inch: 15 twips to the pixel.
constexpr double kTwipsPerPixel = 15.0;
inline double twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

// Sets the Qt margins from the rich-edit geometry: every line starts at start + offset, the
// first line is pulled back by the offset (a negative offset indents the first line further).
inline void applyParagraphGeometry(QTextBlockFormat& block) {
  const int start = block.intProperty(BlockStartIndent);
  const int offset = block.intProperty(BlockOffset);
  const int right = block.intProperty(BlockRightIndent);
  block.setLeftMargin(twipsToPixels(start + offset));
  block.setTextIndent(twipsToPixels(-offset));
  block.setRightMargin(twipsToPixels(right));
}

}  // namespace richedit::fmt
