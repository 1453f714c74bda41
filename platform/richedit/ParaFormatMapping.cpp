#include "platform/richedit/ParaFormatMapping.h"

#include <algorithm>
#include <cstring>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit {

namespace {

WORD alignmentOf(const QTextBlockFormat& f) {
  const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
  if (a & Qt::AlignHCenter) return PFA_CENTER;
  if (a & Qt::AlignJustify) return PFA_JUSTIFY;
  if (a & Qt::AlignRight) return PFA_RIGHT;
  return PFA_LEFT;
}

Qt::Alignment qtAlignment(WORD a) {
  switch (a) {
    case PFA_RIGHT:
      return Qt::AlignRight;
    case PFA_CENTER:
      return Qt::AlignHCenter;
    case PFA_JUSTIFY:
      return Qt::AlignJustify;
    default:
      return Qt::AlignLeft;
  }
}

QList<int> tabsOf(const QTextBlockFormat& f) {
  return f.property(fmt::BlockTabs).value<QList<int>>();
}

constexpr LONG kMaxSpacing = 31680;  // 22 inches: beyond any page

LONG clampSpacing(LONG twips) {
  return std::clamp<LONG>(twips, 0, kMaxSpacing);
}

// The spacing the record's mask names. A rule the platform does not know is ignored; the rules
// that need no amount keep none, so that equal spacing always compares equal.
void applySpacing(const PARAFORMAT2& r, QTextBlockFormat& f) {
  if (r.dwMask & PFM_SPACEBEFORE)
    f.setProperty(fmt::BlockSpaceBefore, int(clampSpacing(r.dySpaceBefore)));
  if (r.dwMask & PFM_SPACEAFTER)
    f.setProperty(fmt::BlockSpaceAfter, int(clampSpacing(r.dySpaceAfter)));
  if ((r.dwMask & PFM_LINESPACING) && r.bLineSpacingRule <= LSR_MULTIPLE) {
    const bool amount = r.bLineSpacingRule >= LSR_ATLEAST;
    f.setProperty(fmt::BlockLineSpacingRule, int(r.bLineSpacingRule));
    f.setProperty(fmt::BlockLineSpacing, amount ? int(clampSpacing(r.dyLineSpacing)) : 0);
  }
}

// The effects a paragraph keeps for the record; right-to-left is kept as BlockRtl, and the
// table effects belong to the table a paragraph is in, not to a paragraph record.
constexpr int kKeptEffects = PFE_KEEP | PFE_KEEPNEXT | PFE_PAGEBREAKBEFORE | PFE_NOLINENUMBER |
                             PFE_NOWIDOWCONTROL | PFE_DONOTHYPHEN | PFE_SIDEBYSIDE;

void applyEffects(const PARAFORMAT2& r, QTextBlockFormat& f) {
  const int named = int((r.dwMask >> 16) & kKeptEffects);
  if (named == 0) return;
  const int effects = (f.intProperty(fmt::BlockEffects) & ~named) | (r.wEffects & named);
  if (effects == 0) {
    f.clearProperty(fmt::BlockEffects);
  } else {
    f.setProperty(fmt::BlockEffects, effects);
  }
}

// A value kept only for the record: none is the same as 0, so that equal formats compare equal.
void applyKept(bool named, int property, int value, QTextBlockFormat& f) {
  if (!named) return;
  if (value == 0) {
    f.clearProperty(property);
  } else {
    f.setProperty(property, value);
  }
}

}  // namespace

bool readParaRecord(LPARAM from, PARAFORMAT2& record, bool& large) {
  const auto* p = reinterpret_cast<const PARAFORMAT2*>(from);
  record = PARAFORMAT2{};
  if (p == nullptr) return false;
  UINT size = 0;
  std::memcpy(&size, p, sizeof size);
  if (size != sizeof(PARAFORMAT2) && size != sizeof(PARAFORMAT)) return false;
  large = size == sizeof(PARAFORMAT2);
  std::memcpy(&record, p, size);
  return true;
}

void writeParaRecord(const PARAFORMAT2& record, bool large, LPARAM to) {
  std::memcpy(reinterpret_cast<void*>(to), &record,
              large ? sizeof(PARAFORMAT2) : sizeof(PARAFORMAT));
}

void paraFormatToRecord(const QTextBlockFormat& f, PARAFORMAT2& r) {
  r.wNumbering = WORD(f.intProperty(fmt::BlockNumbering));
  r.wEffects =
      (f.boolProperty(fmt::BlockRtl) ? PFE_RTLPARA : 0) | (fmt::isTableRow(f) ? PFE_TABLE : 0);
  r.dxStartIndent = f.intProperty(fmt::BlockStartIndent);
  r.dxRightIndent = f.intProperty(fmt::BlockRightIndent);
  r.dxOffset = f.intProperty(fmt::BlockOffset);
  r.wAlignment = alignmentOf(f);
  const QList<int> tabs = tabsOf(f);
  r.cTabCount = SHORT(std::min<qsizetype>(tabs.size(), MAX_TAB_STOPS));
  std::memset(r.rgxTabs, 0, sizeof r.rgxTabs);
  for (int i = 0; i < r.cTabCount; ++i) r.rgxTabs[i] = tabs[i];
  r.wEffects |= WORD(f.intProperty(fmt::BlockEffects) & kKeptEffects);
  r.sStyle = SHORT(f.intProperty(fmt::BlockStyle));
  r.wShadingWeight = WORD(f.intProperty(fmt::BlockShadingWeight));
  r.wShadingStyle = WORD(f.intProperty(fmt::BlockShadingStyle));
  r.wBorders = WORD(f.intProperty(fmt::BlockBorders));
  r.wBorderWidth = WORD(f.intProperty(fmt::BlockBorderWidth));
  r.wBorderSpace = WORD(f.intProperty(fmt::BlockBorderSpace));
  r.wNumberingStart = WORD(f.intProperty(fmt::BlockNumberingStart));  // 0 until set
  r.wNumberingStyle = WORD(f.intProperty(fmt::BlockNumberingStyle));
  r.wNumberingTab = WORD(f.intProperty(fmt::BlockNumberingTab));
  r.dySpaceBefore = f.intProperty(fmt::BlockSpaceBefore);
  r.dySpaceAfter = f.intProperty(fmt::BlockSpaceAfter);
  r.bLineSpacingRule = BYTE(f.intProperty(fmt::BlockLineSpacingRule));
  r.dyLineSpacing = f.intProperty(fmt::BlockLineSpacing);
}

DWORD paraFormatDifferences(const QTextBlockFormat& a, const QTextBlockFormat& b) {
  PARAFORMAT2 x{};
  PARAFORMAT2 y{};
  paraFormatToRecord(a, x);
  paraFormatToRecord(b, y);
  DWORD diff = 0;
  if (x.wNumbering != y.wNumbering) diff |= PFM_NUMBERING;
  diff |= DWORD(x.wEffects ^ y.wEffects) << 16;  // each effect's mask bit is its own
  if (x.sStyle != y.sStyle) diff |= PFM_STYLE;
  if (x.wShadingWeight != y.wShadingWeight || x.wShadingStyle != y.wShadingStyle)
    diff |= PFM_SHADING;
  if (x.wBorders != y.wBorders || x.wBorderWidth != y.wBorderWidth ||
      x.wBorderSpace != y.wBorderSpace)
    diff |= PFM_BORDER;
  if (x.dxStartIndent != y.dxStartIndent) diff |= PFM_STARTINDENT | PFM_OFFSETINDENT;
  if (x.dxRightIndent != y.dxRightIndent) diff |= PFM_RIGHTINDENT;
  if (x.dxOffset != y.dxOffset) diff |= PFM_OFFSET;
  if (x.wAlignment != y.wAlignment) diff |= PFM_ALIGNMENT;
  if (x.cTabCount != y.cTabCount ||
      std::memcmp(x.rgxTabs, y.rgxTabs, sizeof(LONG) * std::size_t(x.cTabCount)) != 0) {
    diff |= PFM_TABSTOPS;
  }
  if (x.wNumberingStart != y.wNumberingStart) diff |= PFM_NUMBERINGSTART;
  if (x.wNumberingStyle != y.wNumberingStyle) diff |= PFM_NUMBERINGSTYLE;
  if (x.wNumberingTab != y.wNumberingTab) diff |= PFM_NUMBERINGTAB;
  if (x.dySpaceBefore != y.dySpaceBefore) diff |= PFM_SPACEBEFORE;
  if (x.dySpaceAfter != y.dySpaceAfter) diff |= PFM_SPACEAFTER;
  if (x.bLineSpacingRule != y.bLineSpacingRule || x.dyLineSpacing != y.dyLineSpacing)
    diff |= PFM_LINESPACING;
  return diff;
}

void applyParaRecord(const PARAFORMAT2& r, bool large, QTextBlockFormat& f) {
  const DWORD mask = r.dwMask;
  if (mask & PFM_STARTINDENT) {
    f.setProperty(fmt::BlockStartIndent, int(r.dxStartIndent));
  } else if (mask & PFM_OFFSETINDENT) {
    f.setProperty(fmt::BlockStartIndent,
                  f.intProperty(fmt::BlockStartIndent) + int(r.dxStartIndent));
  }
  if (mask & PFM_RIGHTINDENT) f.setProperty(fmt::BlockRightIndent, int(r.dxRightIndent));
  if (mask & PFM_OFFSET) f.setProperty(fmt::BlockOffset, int(r.dxOffset));
  if ((mask & PFM_ALIGNMENT) && r.wAlignment >= PFA_LEFT && r.wAlignment <= PFA_JUSTIFY) {
    f.setAlignment(qtAlignment(r.wAlignment));
  }
  if (mask & PFM_TABSTOPS) {
    const int count = std::clamp<int>(r.cTabCount, 0, MAX_TAB_STOPS);
    QList<int> tabs;
    // The top byte of a stop holds its kind on the platform; the position is the rest.
    for (int i = 0; i < count; ++i) tabs.append(r.rgxTabs[i] & 0x00FFFFFF);
    std::sort(tabs.begin(), tabs.end());
    if (tabs.isEmpty()) {
      f.clearProperty(fmt::BlockTabs);
      f.clearProperty(QTextFormat::TabPositions);
    } else {
      f.setProperty(fmt::BlockTabs, QVariant::fromValue(tabs));
    }
  }
  if ((mask & PFM_NUMBERING) && r.wNumbering <= PFN_UCROMAN) {
    if (r.wNumbering == 0) {
      f.clearProperty(fmt::BlockNumbering);
    } else {
      f.setProperty(fmt::BlockNumbering, int(r.wNumbering));
    }
  }
  if (mask & PFM_RTLPARA) f.setProperty(fmt::BlockRtl, (r.wEffects & PFE_RTLPARA) != 0);
  applyEffects(r, f);
  if (large) {
    applyKept(mask & PFM_STYLE, fmt::BlockStyle, r.sStyle, f);
    applyKept(mask & PFM_SHADING, fmt::BlockShadingWeight, r.wShadingWeight, f);
    applyKept(mask & PFM_SHADING, fmt::BlockShadingStyle, r.wShadingStyle, f);
    applyKept(mask & PFM_BORDER, fmt::BlockBorders, r.wBorders, f);
    applyKept(mask & PFM_BORDER, fmt::BlockBorderWidth, r.wBorderWidth, f);
    applyKept(mask & PFM_BORDER, fmt::BlockBorderSpace, r.wBorderSpace, f);
    // 0, as a record reads before a start is set, counts from 1 (ParagraphLabels).
    applyKept(mask & PFM_NUMBERINGSTART, fmt::BlockNumberingStart, r.wNumberingStart, f);
    if (mask & PFM_TABLE) {
      if (r.wEffects & PFE_TABLE)
        f.setProperty(fmt::BlockTableRow, true);
      else
        f.clearProperty(fmt::BlockTableRow);
    }
    if (mask & PFM_NUMBERINGSTYLE) f.setProperty(fmt::BlockNumberingStyle, int(r.wNumberingStyle));
    if (mask & PFM_NUMBERINGTAB) f.setProperty(fmt::BlockNumberingTab, int(r.wNumberingTab));
    applySpacing(r, f);
  }
  fmt::applyParagraphGeometry(f);
}

}  // namespace richedit
