#include "platform/richedit/LinkHighlighter.h"

#include <QTextBlock>

#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/UrlDetector.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit {

void LinkHighlighter::highlightBlock(const QString& text) {
  if (engine_ == nullptr) return;
  QTextCharFormat link;
  link.setForeground(QColor(0, 0, 255));
  link.setFontUnderline(true);
  // Hidden text keeps its place in the text but takes next to no room and shows nothing.
  QTextCharFormat hidden;
  hidden.setForeground(Qt::transparent);
  hidden.setFontPointSize(1);
  // Every character's advance is scaled to next to nothing, so the text around it closes up.
  hidden.setFontLetterSpacingType(QFont::PercentageSpacing);
  hidden.setFontLetterSpacing(1);  // 0 would read as "unchanged"
  const QTextBlock block = currentBlock();
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment f = it.fragment();
    const int start = f.position() - block.position();
    if (f.charFormat().boolProperty(fmt::CharHidden)) {
      setFormat(start, f.length(), hidden);
    } else if (f.charFormat().isAnchor()) {
      setFormat(start, f.length(), link);
    }
  }
  if (!engine_->autoUrlDetect()) return;
  for (const TextSpan& span : findUrls(text)) setFormat(span.start, span.length, link);
}

}  // namespace richedit
