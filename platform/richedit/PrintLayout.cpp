#include "platform/richedit/PrintLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>

#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit {

PrintLayout::PrintLayout(const QTextDocument& source, double width)
    : doc_(source.clone()), width_(width) {
  doc_->setDefaultFont(source.defaultFont());
  doc_->setDocumentMargin(0);
  // Paper always wraps, a word longer than the line anywhere.
  QTextOption option = source.defaultTextOption();
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  doc_->setDefaultTextOption(option);
  doc_->setPageSize(QSizeF(width_, -1));
  doc_->setDocumentLayout(new ParagraphLayout(doc_.get()));
}

PrintLayout::~PrintLayout() = default;

void PrintLayout::setWidth(double width) {
  if (width == width_) return;
  width_ = width;
  doc_->setPageSize(QSizeF(width_, -1));
}

PrintLayout::Page PrintLayout::page(int from, double height, QPainter* painter) {
  QAbstractTextDocumentLayout* layout = doc_->documentLayout();
  const int end = std::max(doc_->characterCount() - 1, 0);  // the final paragraph mark
  from = std::clamp(from, 0, end);
  QTextBlock block = doc_->findBlock(from);
  double top = -1;     // where the page starts, in document coordinates
  double bottom = 0;   // the bottom of the last line taken
  int next = end + 1;  // all fits unless a line does not
  bool any = false;
  for (; block.isValid(); block = block.next()) {
    const QRectF rect = layout->blockBoundingRect(block);  // lays it out
    const double blockTop = rect.top();
    if (fmt::isTableRow(block.blockFormat())) {
      // A row's cells lie side by side: the row goes onto a page whole.
      if (top < 0) top = blockTop;
      if (any && rect.bottom() - top > height) {
        next = block.position();
        break;
      }
      bottom = rect.bottom();
      any = true;
      continue;
    }
    const QTextLayout* lines = block.layout();
    const int count = lines != nullptr ? lines->lineCount() : 0;
    int first = 0;
    if (!any && count > 0) {
      const QTextLine at = lines->lineForTextPosition(from - block.position());
      first = at.isValid() ? at.lineNumber() : 0;
    }
    bool full = false;
    for (int i = first; i < count; ++i) {
      const QTextLine line = lines->lineAt(i);
      const double lineTop = blockTop + line.y();
      const double lineBottom = lineTop + line.height();
      if (top < 0) top = lineTop;
      if (any && lineBottom - top > height) {
        next = block.position() + line.textStart();
        full = true;
        break;
      }
      bottom = lineBottom;
      any = true;
    }
    if (full) break;
  }
  if (top < 0) top = 0;
  const double used = std::max(bottom - top, 0.0);
  if (painter != nullptr && used > 0) {
    painter->save();
    painter->setClipRect(QRectF(0, 0, width_, used), Qt::IntersectClip);
    painter->translate(0, -top);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, top, width_, used);
    context.palette.setColor(QPalette::Text, Qt::black);
    layout->draw(painter, context);
    painter->restore();
  }
  return {next, used};
}

}  // namespace richedit
