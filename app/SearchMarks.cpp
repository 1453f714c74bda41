#include "app/SearchMarks.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include "editor/KlRichEdit.h"

namespace kl {

TSearchMarks::TSearchMarks(TKlRichEdit& editor) : QWidget(&editor), editor_(editor) {
  setObjectName("SearchMarks");
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  editor.installEventFilter(this);
  hide();
}

void TSearchMarks::Mark(std::vector<TQueryTerm> terms) {
  terms_ = std::move(terms);
  textLength_ = -1;
  matches_.clear();
  setVisible(!terms_.empty());
  if (!terms_.empty()) {
    setGeometry(editor_.rect());
    raise();
    update();
  }
}

const std::vector<TTextMatch>& TSearchMarks::Matches() {
  FindMatches();
  return matches_;
}

void TSearchMarks::FindMatches() {
  const int length = editor_.TextLength();
  if (terms_.empty() || length == textLength_) return;
  textLength_ = length;
  matches_ = FindTerms(QString::fromStdString(editor_.TextRange(0, length)), terms_);
}

bool TSearchMarks::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &editor_ && event->type() == QEvent::Resize) setGeometry(editor_.rect());
  return QWidget::eventFilter(watched, event);
}

void TSearchMarks::paintEvent(QPaintEvent*) {
  FindMatches();
  if (matches_.empty()) return;
  QPainter painter(this);
  QColor mark(255, 200, 0, 90);
  const int fallbackHeight = QFontMetrics(editor_.font()).height() + 2;
  for (const TTextMatch& match : matches_) {
    const TPoint from = editor_.CharPosition(match.start);
    const TPoint to = editor_.CharPosition(match.start + match.length);
    if (from.y < -fallbackHeight || from.y > height()) continue;
    // The line's height: down to the next line, when the editor has one.
    int lineHeight = fallbackHeight;
    const int nextLine = editor_.LineIndex(editor_.LineFromChar(match.start) + 1);
    if (nextLine > 0) {
      const int below = editor_.CharPosition(nextLine).y - from.y;
      if (below > 0 && below < 4 * fallbackHeight) lineHeight = below;
    }
    const int right = to.y == from.y && to.x > from.x ? to.x : from.x + fallbackHeight;
    painter.fillRect(QRect(from.x, from.y, right - from.x, lineHeight), mark);
  }
}

}  // namespace kl
