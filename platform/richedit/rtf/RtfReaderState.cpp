#include "platform/richedit/rtf/RtfReaderState.h"

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/document/FormatCodes.h"

namespace richedit::rtf {

Numbering numberingOfLevel(const ListLevel& level) {
  Numbering n;
  switch (level.nfc) {
    case 23:
      n.type = PFN_BULLET;
      break;
    case 1:
      n.type = PFN_UCROMAN;
      break;
    case 2:
      n.type = PFN_LCROMAN;
      break;
    case 3:
      n.type = PFN_UCLETTER;
      break;
    case 4:
      n.type = PFN_LCLETTER;
      break;
    case 255:
      n.type = 0;
      break;
    default:
      n.type = PFN_ARABIC;
      break;
  }
  n.start = level.start;
  // A level whose label is empty (\leveltext\'00) shows no number at all.
  if (level.text.isEmpty() || level.text.at(0).unicode() == 0) n.type = 0;
  // \leveltext is a length, then the label; characters below 10 stand for level numbers.
  const QString text = level.text.mid(1);
  qsizetype first = -1, last = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].unicode() < 10) {
      if (first < 0) first = i;
      last = i;
    }
  }
  const QString before = first < 0 ? QString() : text.left(first);
  QString after = last < 0 ? QString() : text.mid(last + 1);
  after.remove(u';');
  if (after.startsWith(u'.'))
    n.style = fmt::NumberingPeriod;
  else if (after.startsWith(u')'))
    n.style = before.endsWith(u'(') ? fmt::NumberingParens : fmt::NumberingParen;
  else
    n.style = fmt::NumberingPlain;
  return n;
}

}  // namespace richedit::rtf
