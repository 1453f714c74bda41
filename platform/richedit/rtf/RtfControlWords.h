#pragma once
// The control words the reader acts on, in one table sorted by name. Words not in the table are
// unknown: their groups are skipped when marked ignorable, otherwise the word alone is dropped.

#include <cstdint>
#include <string_view>

namespace richedit::rtf {

enum class WordKind : std::uint8_t {
  Destination,  // starts a group whose text is not document text, or is read specially
  Flag,         // acts by being there; any parameter is ignored
  Toggle,       // on without a parameter or with a non-zero one, off with 0
  Value,        // carries a number (the default parameter when none is written)
  Symbol,       // stands for one character
};

enum class Word : std::uint16_t {
  // destinations
  SkipDestination,
  FontTable,
  ColorTable,
  Pict,
  Object,
  Result,
  Field,
  FieldInstruction,
  FieldResult,
  PnText,
  Pn,
  PnTextAfter,
  PnTextBefore,
  ListTable,
  List,
  ListLevel,
  LevelText,
  ListOverrideTable,
  ListOverride,
  ListText,
  ShpPict,
  NonShpPict,
  Shape,
  ShapeInstruction,
  ShapeResult,
  ShapeProperty,
  ShapeName,
  ShapeValue,
  ShapeText,
  DrawingObject,
  DrawingTextBox,
  ObjectData,
  NestTableProps,
  StyleSheet,
  // document
  Ansi,
  Mac,
  Pc,
  Pca,
  AnsiCodePage,
  DefaultFont,
  UnicodeSkip,
  Unicode,
  Rtf,
  // font and colour tables
  Font,
  FontCharset,
  FontPitch,
  FontCodePage,
  FamilyNil,
  FamilyRoman,
  FamilySwiss,
  FamilyModern,
  FamilyScript,
  FamilyDecor,
  FamilyTech,
  FamilyBidi,
  Red,
  Green,
  Blue,
  // character formatting (a style sheet entry carries the words from Plain to ListLevelIndex)
  Plain,
  Bold,
  Italic,
  Underline,
  UnderlineNone,
  Strike,
  Highlight,
  CharBackground,
  Expand,
  ExpandTwips,
  FontSize,
  Color,
  Hidden,
  Protect,
  Super,
  Sub,
  NoSuperSub,
  // paragraph formatting
  Pard,
  AlignLeft,
  AlignRight,
  AlignCenter,
  AlignJustify,
  LeftIndent,
  RightIndent,
  FirstIndent,
  TabStop,
  RtlPar,
  LtrPar,
  SpaceBefore,
  SpaceAfter,
  LineSpacing,
  LineSpacingMultiple,
  ListOverrideIndex,
  ListLevelIndex,
  InTable,
  // a table row's definition: RtfTableRow takes these words, from TableRowDefaults to
  // BorderWidth, in this order
  TableRowDefaults,
  RowLeft,
  CellGap,
  RowPaddingLeft,
  CellPaddingLeft,
  CellRight,
  CellBorderTop,
  CellBorderLeft,
  CellBorderBottom,
  CellBorderRight,
  RowBorderTop,
  RowBorderLeft,
  RowBorderBottom,
  RowBorderRight,
  RowBorderInsideH,
  RowBorderInsideV,
  ParagraphBorder,
  BorderNone,
  BorderWidth,
  // breaks and special characters
  Par,
  Line,
  Tab,
  Cell,
  Row,
  NestCell,
  NestRow,
  Sect,
  Page,
  EmSpace,
  EnSpace,
  Bullet,
  LQuote,
  RQuote,
  LDblQuote,
  RDblQuote,
  EmDash,
  EnDash,
  LtrMark,
  RtlMark,
  Zwj,
  Zwnj,
  FootnoteMark,
  // numbering
  PnLevelBullet,
  PnLevelBody,
  PnLevelCont,
  PnLevel,
  PnDecimal,
  PnUpperLetter,
  PnLowerLetter,
  PnUpperRoman,
  PnLowerRoman,
  PnStart,
  PnIndent,
  PnFont,
  ListId,
  LevelNfc,
  LevelStartAt,
  // pictures and objects
  DiBitmap,
  WBitmap,
  PngBlip,
  JpegBlip,
  WMetafile,
  EmfBlip,
  MacPict,
  PmMetafile,
  PicWidth,
  PicHeight,
  PicGoalWidth,
  PicGoalHeight,
  PicScaleX,
  PicScaleY,
  PicBitsPerPixel,
  WbmBitsPixel,
  WbmPlanes,
  WbmWidthBytes,
  ObjWidth,
  ObjHeight,
  ObjScaleX,
  ObjScaleY,
  Bin,
  // style sheets
  ParagraphStyle,
  CharacterStyle,
  OtherStyle,  // section and table styles: their entries are read, never applied
  BasedOn,
  NextStyle,
};

struct WordInfo {
  std::string_view name;
  WordKind kind;
  Word id;
  int defaultParameter;
};

constexpr bool isRowDefinitionWord(Word id) {
  return id >= Word::TableRowDefaults && id <= Word::BorderWidth;
}

// The entry for a control word, or nullptr when the reader does not know it.
const WordInfo* findWord(std::string_view name);

// The word that underlines with a type (CFU_*): the underline words are toggles whose default
// parameter is their type. A type with no word of its own is written as a single underline.
std::string_view underlineWord(int type);

}  // namespace richedit::rtf
