#include "platform/richedit/ParagraphLabels.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "platform/richedit/document/DocumentFormat.h"

namespace richedit {

int paragraphNumber(const QTextBlock& block) {
  const int kind = block.blockFormat().intProperty(fmt::BlockNumbering);
  int index = 0;
  for (QTextBlock b = block.previous(); b.isValid(); b = b.previous()) {
    if (b.blockFormat().intProperty(fmt::BlockNumbering) != kind) break;
    ++index;
  }
  const QTextBlockFormat f = block.blockFormat();
  const int start =
      f.hasProperty(fmt::BlockNumberingStart) ? f.intProperty(fmt::BlockNumberingStart) : 1;
  return start + index;
}

int NumberingCounter::numberOf(const QTextBlock& block) {
  const int kind = block.blockFormat().intProperty(fmt::BlockNumbering);
  const int n = block.blockNumber();
  if (kind == 0) {
    previousKind_ = 0;
  } else if (kind == previousKind_ && n == previousBlock_ + 1) {
    ++number_;
  } else {
    number_ = paragraphNumber(block);
  }
  previousKind_ = kind;
  previousBlock_ = n;
  return kind == 0 ? 0 : number_;
}

void drawParagraphLabel(QPainter* painter, const QTextBlock& block, int number,
                        const QPointF& origin, double width, const QColor& textColor) {
  const QTextBlockFormat bf = block.blockFormat();
  const int kind = bf.intProperty(fmt::BlockNumbering);
  const QTextLayout* layout = block.layout();
  if (kind == 0 || layout == nullptr || layout->lineCount() == 0) return;
  const QString label = fmt::numberingLabel(kind, number, bf.intProperty(fmt::BlockNumberingStyle));
  if (label.isEmpty()) return;
  const QTextLine first = layout->lineAt(0);
  // The label takes the look of the paragraph's first character.
  QTextCharFormat cf = block.charFormat();
  if (block.begin() != block.end()) cf = block.begin().fragment().charFormat();
  const QFont font = cf.font().resolve(block.document()->defaultFont());
  // Laid out like the paragraph's own text, in the layout's units, so that it keeps its size
  // whatever device the painter draws on.
  QTextLayout text(label, font);
  text.beginLayout();
  QTextLine line = text.createLine();
  text.endLayout();
  if (!line.isValid()) return;
  painter->save();
  painter->setPen(cf.hasProperty(QTextFormat::ForegroundBrush) ? cf.foreground().color()
                                                               : textColor);
  const double advance = line.naturalTextWidth();
  const double offset = std::max(fmt::twipsToPixels(bf.intProperty(fmt::BlockOffset)), advance + 2);
  const double top = origin.y() + first.y() + first.ascent() - line.ascent();
  double x = 0;
  if (block.textDirection() == Qt::RightToLeft) {
    // Mirrored: the label stands in the hanging space to the right of the text.
    x = std::min(origin.x() + first.x() + first.width() + offset - advance,
                 origin.x() + width - advance);
  } else {
    x = std::max(origin.x(), origin.x() + first.x() - offset);
  }
  text.draw(painter, QPointF(x, top));
  painter->restore();
}

}  // namespace richedit
