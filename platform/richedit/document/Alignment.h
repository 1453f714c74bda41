#pragma once
// A paragraph's alignment, one mapping for everything that reads or sets it: the record's
// codes (PFA_*, which RTF's \ql \qr \qc \qj name too) and the Qt alignment that lays it out.

#include <QTextBlockFormat>

#include "platform/richedit/document/FormatCodes.h"

namespace richedit::fmt {

inline Qt::Alignment qtAlignmentOf(int code) {
  switch (code) {
    case PFA_RIGHT:
      return Qt::AlignRight;
    case PFA_CENTER:
      return Qt::AlignHCenter;
    case PFA_JUSTIFY:
      return Qt::AlignJustify;
    default:  // PFA_LEFT, and 0 for a paragraph that never set one
      return Qt::AlignLeft;
  }
}

inline WORD alignmentCodeOf(const QTextBlockFormat& f) {
  const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
  if (a & Qt::AlignHCenter) return PFA_CENTER;
  if (a & Qt::AlignJustify) return PFA_JUSTIFY;
  if (a & Qt::AlignRight) return PFA_RIGHT;
  return PFA_LEFT;
}

}  // namespace richedit::fmt
