#include "platform/richedit/rtf/RtfParser.h"

#include <QTextImageFormat>
#include <algorithm>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/FormatCodes.h"

// The handlers of control words by kind: flags, toggles, values and symbols.

namespace richedit::rtf {

namespace {
constexpr int kMaxIndent = 31680;  // 22 inches: beyond any page
constexpr QChar kLineSeparator(0x2028);
int clampIndent(int twips) {
  return std::clamp(twips, -kMaxIndent, kMaxIndent);
}
// The font family of a font table entry, as FF_* >> 4.
int fontFamilyOf(Word id) {
  switch (id) {
    case Word::FamilyRoman:
      return 1;
    case Word::FamilySwiss:
      return 2;
    case Word::FamilyModern:
      return 3;
    case Word::FamilyScript:
      return 4;
    case Word::FamilyDecor:
    case Word::FamilyTech:
      return 5;
    default:
      return 0;
  }
}
}  // namespace

void RtfParser::flag(Word id) {
  State& s = top();
  const bool text = s.dest == Destination::Text;
  if (isRowDefinitionWord(id)) {
    if (text) row_.define(id, 0);
    return;
  }
  switch (id) {
    case Word::Ansi:
      if (atDocumentHead()) ansiPage_ = 1252;
      break;
    case Word::Mac:
      if (atDocumentHead()) ansiPage_ = 10000;
      break;
    case Word::Pc:
      if (atDocumentHead()) ansiPage_ = 437;
      break;
    case Word::Pca:
      if (atDocumentHead()) ansiPage_ = 850;
      break;
    case Word::Plain: {
      const int link = s.chr.link;  // \plain inside a link's result keeps the link
      s.chr = CharProps{};
      s.chr.link = link;
      break;
    }
    case Word::Pard:
      s.para = ParaProps{};
      break;
    case Word::AlignLeft:
      s.para.align = PFA_LEFT;
      break;
    case Word::AlignRight:
      s.para.align = PFA_RIGHT;
      break;
    case Word::AlignCenter:
      s.para.align = PFA_CENTER;
      break;
    case Word::AlignJustify:
      s.para.align = PFA_JUSTIFY;
      break;
    case Word::RtlPar:
      s.para.rtl = true;
      break;
    case Word::LtrPar:
      s.para.rtl = false;
      break;
    case Word::Par:
    case Word::Sect:
      if (text) paragraphMark();
      break;
    case Word::Page:
      if (text && (paragraphHasContent_ || inTableRow())) paragraphMark();
      break;
    case Word::Line:
      if (text) appendDocumentChar(kLineSeparator);
      break;
    case Word::Tab:
      // Inside a row a TAB would start a cell of its own.
      deliver(text && inTableRow() ? QStringLiteral(" ") : QStringLiteral("\t"));
      break;
    case Word::InTable:
      s.para.inTable = true;
      break;
    case Word::Cell:
      if (text) cellEnds();
      break;
    case Word::Row:
      if (text) rowEnds();
      break;
    // A table inside a cell is read as its text: its cells apart by a space, its rows by a
    // line break.
    case Word::NestCell:
      if (text) deliver(QStringLiteral(" "));
      break;
    case Word::NestRow:
      if (text) cellBreakPending_ = true;
      break;
    case Word::UnderlineNone:
      s.chr.underline = 0;
      break;
    case Word::Super:
      s.chr.vertical = 1;
      break;
    case Word::Sub:
      s.chr.vertical = -1;
      break;
    case Word::NoSuperSub:
      s.chr.vertical = 0;
      break;
    case Word::FamilyNil:
    case Word::FamilyRoman:
    case Word::FamilySwiss:
    case Word::FamilyModern:
    case Word::FamilyScript:
    case Word::FamilyDecor:
    case Word::FamilyTech:
    case Word::FamilyBidi:
      if (s.dest == Destination::FontTable) font_.family = fontFamilyOf(id);
      break;
    case Word::PnLevelBullet:
      pn_.type = PFN_BULLET;
      break;
    case Word::PnLevelBody:
      if (pn_.type == 0) pn_.type = PFN_ARABIC;
      break;
    case Word::PnDecimal:
      pn_.type = PFN_ARABIC;
      break;
    case Word::PnUpperLetter:
      pn_.type = PFN_UCLETTER;
      break;
    case Word::PnLowerLetter:
      pn_.type = PFN_LCLETTER;
      break;
    case Word::PnUpperRoman:
      pn_.type = PFN_UCROMAN;
      break;
    case Word::PnLowerRoman:
      pn_.type = PFN_LCROMAN;
      break;
    case Word::PngBlip:
    case Word::JpegBlip:
    case Word::EmfBlip:
    case Word::MacPict:
      if (s.dest == Destination::Pict) pict_.kind = id;
      break;
    default:
      break;
  }
}

// on is 0 for off, else the value the word sets: 1, or an underline word's type.
void RtfParser::toggle(Word id, int on) {
  CharProps& c = top().chr;
  switch (id) {
    case Word::Bold:
      c.bold = on != 0;
      break;
    case Word::Italic:
      c.italic = on != 0;
      break;
    case Word::Underline:
      c.underline = on;
      break;
    case Word::Strike:
      c.strike = on != 0;
      break;
    case Word::Hidden:
      c.hidden = on != 0;
      break;
    case Word::Protect:
      c.protect = on != 0;
      break;
    default:
      break;
  }
}

void RtfParser::value(Word id, int p) {
  State& s = top();
  const Destination dest = s.dest;
  const int positive = std::max(p, 0);
  if (isRowDefinitionWord(id)) {
    if (dest == Destination::Text) row_.define(id, p);
    return;
  }
  switch (id) {
    case Word::ParagraphStyle:
    case Word::CharacterStyle:
      if (dest == Destination::Text) applyStyle(id, p);
      break;
    case Word::AnsiCodePage:
      if (p > 0 && atDocumentHead()) ansiPage_ = p;
      break;
    case Word::DefaultFont:
      if (atDocumentHead()) defaultFont_ = p;
      break;
    case Word::UnicodeSkip:
      s.uc = std::clamp(p, 0, 16);
      break;
    case Word::Unicode: {
      const auto unit = char16_t(p & 0xffff);  // a signed 16-bit value
      deliver(QString(QChar(unit == 0 ? u' ' : unit)));
      fallbackLeft_ = s.uc;
      break;
    }
    case Word::Font:
      if (dest == Destination::FontTable) {
        if (fontOpen_) commitFont();
        fontNumber_ = p;
        fontOpen_ = true;
      } else {
        s.chr.font = p;
      }
      break;
    case Word::FontCharset:
      if (dest == Destination::FontTable) font_.charset = std::clamp(p, 0, 255);
      break;
    case Word::FontPitch:
      if (dest == Destination::FontTable) font_.pitch = std::clamp(p, 0, 15);
      break;
    case Word::FontCodePage:
      if (dest == Destination::FontTable) font_.codePage = positive;
      break;
    case Word::Red:
      red_ = std::clamp(p, 0, 255), colorSet_ = true;
      break;
    case Word::Green:
      green_ = std::clamp(p, 0, 255), colorSet_ = true;
      break;
    case Word::Blue:
      blue_ = std::clamp(p, 0, 255), colorSet_ = true;
      break;
    case Word::FontSize:
      s.chr.halfPoints = std::clamp(p, 1, 3276);
      break;
    case Word::Color:
      s.chr.color = positive;
      break;
    case Word::Highlight:
    case Word::CharBackground:
      s.chr.background = positive;
      break;
    case Word::Expand:
      s.chr.spacing = std::clamp(p, -kMaxIndent / 5, kMaxIndent / 5) * 5;  // quarter points
      break;
    case Word::ExpandTwips:
      s.chr.spacing = clampIndent(p);
      break;
    case Word::SpaceBefore:
      s.para.spaceBefore = std::clamp(p, 0, kMaxIndent);
      break;
    case Word::SpaceAfter:
      s.para.spaceAfter = std::clamp(p, 0, kMaxIndent);
      break;
    case Word::LineSpacing:
      s.para.lineSpacing = clampIndent(p);
      break;
    case Word::LineSpacingMultiple:
      s.para.lineMultiple = p != 0;
      break;
    case Word::LeftIndent:
      s.para.left = clampIndent(p);
      break;
    case Word::RightIndent:
      s.para.right = clampIndent(p);
      break;
    case Word::FirstIndent:
      s.para.first = clampIndent(p);
      break;
    case Word::TabStop:
      if (s.para.tabCount < ParaProps::kMaxTabs && p > 0 && p <= kMaxIndent)
        s.para.tabs[s.para.tabCount++] = p;
      break;
    case Word::ListOverrideIndex:
      if (dest == Destination::ListOverride)
        overrideLs_ = p;
      else
        s.para.listOverride = p;
      break;
    case Word::ListLevelIndex:
      s.para.listLevel = std::clamp(p, 0, 8);
      break;
    case Word::PnStart:
      pn_.start = std::clamp(p, 0, 32767);
      break;
    case Word::PnIndent:
      pn_.tab = std::clamp(p, 0, kMaxIndent);
      break;
    case Word::ListId:
      if (dest == Destination::List) listId_ = p;
      if (dest == Destination::ListOverride) overrideId_ = p;
      break;
    case Word::LevelNfc:
      level_.nfc = p;
      break;
    case Word::LevelStartAt:
      level_.start = std::clamp(p, 0, 32767);
      break;
    case Word::DiBitmap:
    case Word::WBitmap:
    case Word::WMetafile:
    case Word::PmMetafile:
      if (dest == Destination::Pict) pict_.kind = id;
      break;
    case Word::PicWidth:
      pict_.width = positive;
      break;
    case Word::PicHeight:
      pict_.height = positive;
      break;
    case Word::PicGoalWidth:
      pict_.goalWidth = positive;
      break;
    case Word::PicGoalHeight:
      pict_.goalHeight = positive;
      break;
    case Word::PicScaleX:
      pict_.scaleX = positive;
      break;
    case Word::PicScaleY:
      pict_.scaleY = positive;
      break;
    case Word::PicBitsPerPixel:
    case Word::WbmBitsPixel:
      pict_.bitsPerPixel = positive;
      break;
    case Word::WbmPlanes:
      pict_.planes = positive;
      break;
    case Word::WbmWidthBytes:
      pict_.widthBytes = positive;
      break;
    case Word::ObjWidth:
      object_.width = positive;
      break;
    case Word::ObjHeight:
      object_.height = positive;
      break;
    case Word::ObjScaleX:
      object_.scaleX = positive;
      break;
    case Word::ObjScaleY:
      object_.scaleY = positive;
      break;
    default:
      break;
  }
}

void RtfParser::symbol(Word id) {
  char16_t c = u' ';
  switch (id) {
    case Word::FootnoteMark:
      footnoteMark();
      return;
    case Word::Bullet:
      c = 0x2022;
      break;
    case Word::LQuote:
      c = 0x2018;
      break;
    case Word::RQuote:
      c = 0x2019;
      break;
    case Word::LDblQuote:
      c = 0x201C;
      break;
    case Word::RDblQuote:
      c = 0x201D;
      break;
    case Word::EmDash:
      c = 0x2014;
      break;
    case Word::EnDash:
      c = 0x2013;
      break;
    case Word::LtrMark:
      c = 0x200E;
      break;
    case Word::RtlMark:
      c = 0x200F;
      break;
    case Word::Zwj:
      c = 0x200D;
      break;
    case Word::Zwnj:
      c = 0x200C;
      break;
    default:
      break;  // \emspace and \enspace read as spaces
  }
  deliver(QString(QChar(c)));
}

void RtfParser::onControlSymbol(char symbol) {
  if (skipping()) return;
  flushBytes();
  if (symbol == '*') {
    ignorable_ = true;
    return;
  }
  touch();
  ignorable_ = false;
  if (symbol == '\n') {
    fallbackLeft_ = 0;
    if (top().dest == Destination::Text) paragraphMark();
    return;
  }
  if (fallbackLeft_ > 0) {
    --fallbackLeft_;
    return;
  }
  switch (symbol) {
    case '~':
      deliver(QString(QChar(0x00A0)));
      break;
    case '-':
      deliver(QString(QChar(0x00AD)));
      break;
    case '_':
      deliver(QString(QChar(0x2011)));
      break;
    default:
      break;
  }
}

// A footnote's reference mark shows its number raised, as word processors show it; the
// footnote's own text is not part of the entry.
void RtfParser::footnoteMark() {
  if (top().dest != Destination::Text) return;
  State& s = top();
  const signed char vertical = s.chr.vertical;
  s.chr.vertical = 1;
  deliver(QString::number(++footnotes_));
  s.chr.vertical = vertical;
}

}  // namespace richedit::rtf
