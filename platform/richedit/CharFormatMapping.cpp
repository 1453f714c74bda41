#include "platform/richedit/CharFormatMapping.h"

#include <QColor>
#include <QFont>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/richedit/document/DocumentFormat.h"

namespace richedit {

namespace {

COLORREF colorRef(const QColor& c) {
  return RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue()));
}
QColor fromColorRef(COLORREF c) {
  return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

int weightOf(const QTextCharFormat& f) {
  if (f.hasProperty(fmt::CharWeight)) return f.intProperty(fmt::CharWeight);
  return f.hasProperty(QTextFormat::FontWeight) ? f.fontWeight() : int(QFont::Normal);
}

QString faceOf(const QTextCharFormat& f) {
  return f.fontFamilies().toStringList().value(0);
}

int twipsOf(const QTextCharFormat& f) {
  return int(std::lround(f.fontPointSize() * 20.0));
}

// A type given with CFM_UNDERLINETYPE underlines with it, unless CFE_UNDERLINE is cleared in
// the same record; CFE_UNDERLINE alone gives a single underline.
void applyUnderline(const CHARFORMAT2A& r, bool large, QTextCharFormat& f) {
  const bool effect = r.dwMask & CFM_UNDERLINE;
  const bool type = large && (r.dwMask & CFM_UNDERLINETYPE);
  if (effect && !(r.dwEffects & CFE_UNDERLINE)) {
    fmt::setUnderlineType(f, CFU_UNDERLINENONE);
  } else if (type) {
    fmt::setUnderlineType(f, r.bUnderlineType);
  } else if (effect && fmt::underlineTypeOf(f) == CFU_UNDERLINENONE) {
    fmt::setUnderlineType(f, CFU_UNDERLINE);
  }
}

}  // namespace

bool readCharRecord(LPARAM from, CHARFORMAT2A& record, bool& large) {
  const auto* p = reinterpret_cast<const CHARFORMAT2A*>(from);
  record = CHARFORMAT2A{};
  if (p == nullptr) return false;
  UINT size = 0;
  std::memcpy(&size, p, sizeof size);
  if (size != sizeof(CHARFORMAT2A) && size != sizeof(CHARFORMATA)) return false;
  large = size == sizeof(CHARFORMAT2A);
  std::memcpy(&record, p, size);
  return true;
}

void writeCharRecord(const CHARFORMAT2A& record, bool large, LPARAM to) {
  std::memcpy(reinterpret_cast<void*>(to), &record,
              large ? sizeof(CHARFORMAT2A) : sizeof(CHARFORMATA));
}

void charFormatToRecord(const QTextCharFormat& f, CHARFORMAT2A& r) {
  const int weight = weightOf(f);
  DWORD effects = 0;
  if (weight >= QFont::Bold) effects |= CFE_BOLD;
  if (f.fontItalic()) effects |= CFE_ITALIC;
  const int underline = fmt::underlineTypeOf(f);
  if (underline != CFU_UNDERLINENONE) effects |= CFE_UNDERLINE;
  if (f.fontStrikeOut()) effects |= CFE_STRIKEOUT;
  if (f.boolProperty(fmt::CharProtected)) effects |= CFE_PROTECTED;
  if (f.isAnchor()) effects |= CFE_LINK;
  if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) effects |= CFE_SUBSCRIPT;
  if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) effects |= CFE_SUPERSCRIPT;
  if (f.hasProperty(QTextFormat::ForegroundBrush)) {
    r.crTextColor = colorRef(f.foreground().color());
  } else {
    effects |= CFE_AUTOCOLOR;
    r.crTextColor = 0;
  }
  if (f.hasProperty(QTextFormat::BackgroundBrush)) {
    r.crBackColor = colorRef(f.background().color());
  } else {
    effects |= CFE_AUTOBACKCOLOR;
    r.crBackColor = 0;
  }
  r.dwEffects = effects;
  r.yHeight = twipsOf(f);
  r.yOffset = 0;
  r.bCharSet =
      BYTE(f.hasProperty(fmt::CharCharset) ? f.intProperty(fmt::CharCharset) : ANSI_CHARSET);
  r.bPitchAndFamily = BYTE(f.intProperty(fmt::CharPitchAndFamily));
  std::memset(r.szFaceName, 0, sizeof r.szFaceName);
  const QByteArray face = faceOf(f).toUtf8();
  std::memcpy(r.szFaceName, face.constData(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1));
  r.wWeight = WORD(weight);
  r.sSpacing = SHORT(std::clamp(f.intProperty(fmt::CharSpacing), -32767, 32767));
  r.bUnderlineType = BYTE(underline);
}

DWORD charFormatDifferences(const QTextCharFormat& a, const QTextCharFormat& b) {
  CHARFORMAT2A x{};
  CHARFORMAT2A y{};
  charFormatToRecord(a, x);
  charFormatToRecord(b, y);
  DWORD diff = 0;
  const DWORD fx = x.dwEffects ^ y.dwEffects;
  diff |= fx & (CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_PROTECTED | CFM_LINK |
                CFM_SUBSCRIPT | CFM_SUPERSCRIPT);
  if ((fx & CFE_AUTOCOLOR) || x.crTextColor != y.crTextColor) diff |= CFM_COLOR;
  if ((fx & CFE_AUTOBACKCOLOR) || x.crBackColor != y.crBackColor) diff |= CFM_BACKCOLOR;
  if (x.yHeight != y.yHeight) diff |= CFM_SIZE;
  if (std::strncmp(x.szFaceName, y.szFaceName, LF_FACESIZE) != 0 ||
      x.bPitchAndFamily != y.bPitchAndFamily) {
    diff |= CFM_FACE;
  }
  if (x.bCharSet != y.bCharSet) diff |= CFM_CHARSET;
  if (x.wWeight != y.wWeight) diff |= CFM_WEIGHT;
  if (x.bUnderlineType != y.bUnderlineType) diff |= CFM_UNDERLINETYPE;
  if (x.sSpacing != y.sSpacing) diff |= CFM_SPACING;
  return diff;
}

void applyCharRecord(const CHARFORMAT2A& r, bool large, QTextCharFormat& f) {
  const DWORD mask = r.dwMask;
  const DWORD on = r.dwEffects;
  if (large && (mask & CFM_WEIGHT)) {
    const int weight = r.wWeight == 0 ? int(QFont::Normal) : std::clamp<int>(r.wWeight, 1, 1000);
    f.setFontWeight(weight);
    f.setProperty(fmt::CharWeight, weight);
  }
  if (mask & CFM_BOLD) {
    const int weight = weightOf(f);
    const int wanted = (on & CFE_BOLD) ? std::max(weight, int(QFont::Bold))
                                       : (weight >= QFont::Bold ? int(QFont::Normal) : weight);
    f.setFontWeight(wanted);
    f.setProperty(fmt::CharWeight, wanted);
  }
  if (mask & CFM_ITALIC) f.setFontItalic(on & CFE_ITALIC);
  applyUnderline(r, large, f);
  if (large && (mask & CFM_SPACING)) fmt::setCharSpacing(f, r.sSpacing);
  if (mask & CFM_STRIKEOUT) f.setFontStrikeOut(on & CFE_STRIKEOUT);
  if (mask & CFM_PROTECTED) {
    if (on & CFE_PROTECTED) {
      f.setProperty(fmt::CharProtected, true);
    } else {
      f.clearProperty(fmt::CharProtected);
    }
  }
  if (mask & CFM_LINK) {
    f.setAnchor(on & CFE_LINK);
    if (!(on & CFE_LINK)) f.clearProperty(QTextFormat::AnchorHref);
  }
  if (mask & (CFM_SUBSCRIPT | CFM_SUPERSCRIPT)) {
    if (on & CFE_SUBSCRIPT) {
      f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    } else if (on & CFE_SUPERSCRIPT) {
      f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    } else {
      f.clearProperty(QTextFormat::TextVerticalAlignment);
    }
  }
  if (mask & CFM_COLOR) {
    if (on & CFE_AUTOCOLOR) {
      f.clearProperty(QTextFormat::ForegroundBrush);
    } else {
      f.setForeground(fromColorRef(r.crTextColor));
    }
  }
  if (large && (mask & CFM_BACKCOLOR)) {
    if (on & CFE_AUTOBACKCOLOR) {
      f.clearProperty(QTextFormat::BackgroundBrush);
    } else {
      f.setBackground(fromColorRef(r.crBackColor));
    }
  }
  if ((mask & CFM_SIZE) && r.yHeight > 0) {
    f.setFontPointSize(std::clamp<LONG>(r.yHeight, 20, 32760) / 20.0);
  }
  if (mask & CFM_FACE) {
    const QString face =
        QString::fromUtf8(r.szFaceName, qsizetype(strnlen(r.szFaceName, LF_FACESIZE)));
    if (!face.isEmpty()) fmt::setFace(f, face);
    f.setProperty(fmt::CharPitchAndFamily, int(r.bPitchAndFamily));
    f.setFontFixedPitch((r.bPitchAndFamily & 0x03) == FIXED_PITCH);
  }
  if (mask & CFM_CHARSET) f.setProperty(fmt::CharCharset, int(r.bCharSet));
}

}  // namespace richedit
