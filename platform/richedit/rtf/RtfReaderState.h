#pragma once
// The reader's value types: the character and paragraph properties a group carries, and the
// tables (fonts, colours, lists) that the properties point into.

#include <QColor>
#include <QList>
#include <QString>
#include <array>
#include <map>

namespace richedit::rtf {

struct CharProps {
  int font = -1;  // font number; -1 for the document's default font
  int halfPoints = 24;
  int color = 0;       // colour table index; 0 is the automatic colour
  int link = -1;       // index of the hyperlink target, -1 for none
  int background = 0;  // colour table index of \highlight; 0 is the automatic background
  int spacing = 0;     // twips between letters
  int underline = 0;   // CFU_* type; 0 for none
  bool bold = false, italic = false, strike = false;
  bool hidden = false, protect = false;
  signed char vertical = 0;  // 1 superscript, -1 subscript
  bool operator==(const CharProps&) const = default;
};

struct Numbering {
  int type = 0;  // PFN_*; 0 for none
  int start = 1;
  int style = 0;  // PFNS_*
  int tab = 0;    // twips
  bool operator==(const Numbering&) const = default;
};

struct ParaProps {
  static constexpr int kMaxTabs = 32;
  int align = 0;                       // PFA_*; 0 and PFA_LEFT both mean left
  int left = 0, right = 0, first = 0;  // \li \ri \fi in twips
  bool rtl = false;
  int spaceBefore = 0, spaceAfter = 0;  // \sb \sa in twips
  int lineSpacing = 0;                  // \sl: 0 single, above 0 at least, below 0 exactly
  bool lineMultiple = false;            // \slmult1: \sl counts 240ths of a line
  int tabCount = 0;
  std::array<int, kMaxTabs> tabs{};
  Numbering numbering;
  int listOverride = 0, listLevel = 0;  // \ls \ilvl
  bool inTable = false;                 // \intbl: the paragraph is text of a table cell
  bool operator==(const ParaProps&) const = default;
};

struct FontEntry {
  QString name;
  int charset = 0;
  int codePage = 0;  // \fcpg; 0 when the charset decides
  int pitch = 0;     // \fprq
  int family = 0;    // FF_* >> 4
};

struct ListLevel {
  int nfc = 0;
  int start = 1;
  QString text;  // \leveltext as read: a length, then the label with level place holders
};

// How a list level shows its label, as the paragraph numbering fields keep it.
Numbering numberingOfLevel(const ListLevel& level);

}  // namespace richedit::rtf
