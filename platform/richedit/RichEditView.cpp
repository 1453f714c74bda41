#include "platform/richedit/RichEditView.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include "platform/richedit/DocumentFormat.h"
#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/RichEditEngine.h"

namespace richedit {

namespace {

constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_DELETE = 0x2E;

}  // namespace

RichEditView::RichEditView(QWidget* parent) : QTextEdit(parent) {
  // The document is laid out paragraph by paragraph (see ParagraphLayout).
  auto* doc = new QTextDocument(this);
  doc->setDocumentLayout(new ParagraphLayout(doc));
  setDocument(doc);
  setFrameShape(QFrame::NoFrame);
  setAcceptRichText(true);
  setTabChangesFocus(false);
  // The platform's control keeps its text one pixel in from the left edge.
  setViewportMargins(1, 0, 0, 0);
  document()->setDocumentMargin(0);
  viewport()->setMouseTracking(true);
  updateSelectionColours();
}

void RichEditView::setHideSelectionWhenInactive(bool hide) {
  hideWhenInactive_ = hide;
  updateSelectionColours();
}

void RichEditView::updateSelectionColours() {
  QPalette pal = palette();
  if (hideWhenInactive_) {
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Inactive, QPalette::Base));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Inactive, QPalette::Text));
  } else {
    pal.setColor(QPalette::Inactive, QPalette::Highlight,
                 pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
  }
  setPalette(pal);
}

bool RichEditView::handleEditKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Undo)) {
    if (!isReadOnly()) engine_->undo();
    return true;
  }
  if (event->matches(QKeySequence::Redo) ||
      (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
    if (!isReadOnly()) engine_->redo();
    return true;
  }
  if (event->matches(QKeySequence::Cut)) {
    if (!isReadOnly()) engine_->cut();
    return true;
  }
  if (event->matches(QKeySequence::Copy)) {
    engine_->copy();
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    if (!isReadOnly()) engine_->paste();
    return true;
  }
  if (isReadOnly()) return false;

  const QTextCursor c = textCursor();
  const int pos = c.position();
  auto refuseDelete = [&](int from, int to, UINT msg, WPARAM key) {
    if (c.hasSelection()) {
      from = c.selectionStart();
      to = c.selectionEnd();
    }
    return from < to && !engine_->allowDelete(from, to, msg, key);
  };
  if (event->matches(QKeySequence::DeleteStartOfWord)) {
    QTextCursor w = c;
    w.movePosition(QTextCursor::PreviousWord);
    return refuseDelete(w.position(), pos, WM_KEYDOWN, VK_BACK);
  }
  if (event->matches(QKeySequence::DeleteEndOfWord)) {
    QTextCursor w = c;
    w.movePosition(QTextCursor::NextWord);
    return refuseDelete(pos, w.position(), WM_KEYDOWN, VK_DELETE);
  }
  if (event->key() == Qt::Key_Backspace) return refuseDelete(pos - 1, pos, WM_CHAR, VK_BACK);
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    return refuseDelete(pos, pos + 1, WM_KEYDOWN, VK_DELETE);
  }
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    return !engine_->allowTyping(QString(QChar::ParagraphSeparator), WM_CHAR, VK_RETURN);
  }
  const QString text = event->text();
  const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (!text.isEmpty() && !command && (text.at(0).isPrint() || text.at(0) == QLatin1Char('\t'))) {
    return !engine_->allowTyping(text, WM_CHAR, text.at(0).unicode());
  }
  return false;
}

void RichEditView::keyPressEvent(QKeyEvent* event) {
  if (engine_ == nullptr) return QTextEdit::keyPressEvent(event);
  NotifyBatch batch(engine_->notifier());
  if (handleEditKey(event)) {
    event->accept();
    return;
  }
  QTextEdit::keyPressEvent(event);
}

void RichEditView::inputMethodEvent(QInputMethodEvent* event) {
  if (engine_ == nullptr) return QTextEdit::inputMethodEvent(event);
  NotifyBatch batch(engine_->notifier());
  if (!event->commitString().isEmpty() && !isReadOnly() &&
      !engine_->allowTyping(event->commitString(), WM_CHAR,
                            event->commitString().at(0).unicode())) {
    event->accept();
    return;
  }
  QTextEdit::inputMethodEvent(event);
}

bool RichEditView::mouseToHost(unsigned msg, QMouseEvent* event) {
  return engine_->mouseOverLink(msg, event->position().toPoint(), event->modifiers(),
                                event->buttons());
}

void RichEditView::mousePressEvent(QMouseEvent* event) {
  if (engine_ == nullptr) return QTextEdit::mousePressEvent(event);
  NotifyBatch batch(engine_->notifier());
  const UINT msg = event->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
  if (mouseToHost(msg, event)) return;
  QTextEdit::mousePressEvent(event);
  const bool extending = event->modifiers() & Qt::ShiftModifier;
  dragAnchor_ = event->button() == Qt::LeftButton && !extending ? textCursor().position() : -1;
}

void RichEditView::mouseReleaseEvent(QMouseEvent* event) {
  if (engine_ == nullptr) return QTextEdit::mouseReleaseEvent(event);
  NotifyBatch batch(engine_->notifier());
  const UINT msg = event->button() == Qt::RightButton ? WM_RBUTTONUP : WM_LBUTTONUP;
  if (mouseToHost(msg, event)) return;
  QTextEdit::mouseReleaseEvent(event);
  dragAnchor_ = -1;
}

void RichEditView::mouseMoveEvent(QMouseEvent* event) {
  if (engine_ == nullptr) return QTextEdit::mouseMoveEvent(event);
  NotifyBatch batch(engine_->notifier());
  const QPoint p = event->position().toPoint();
  const bool overLink = engine_->linkAtPoint(p).has_value();
  bool taken = false;
  if (overLink) taken = mouseToHost(WM_SETCURSOR, event);
  viewport()->setCursor(overLink && !taken ? Qt::PointingHandCursor : Qt::IBeamCursor);
  if (mouseToHost(WM_MOUSEMOVE, event)) return;
  QTextEdit::mouseMoveEvent(event);
  if ((event->buttons() & Qt::LeftButton) && engine_->autoWordSelection()) extendToWords();
}

// With automatic word selection, a drag that leaves the word it started in selects whole
// words; inside that word it selects characters.
void RichEditView::extendToWords() {
  if (dragAnchor_ < 0) return;
  QTextCursor c = textCursor();
  const int pos = c.position();
  QTextCursor word(document());
  word.setPosition(dragAnchor_);
  word.select(QTextCursor::WordUnderCursor);
  const int wordStart = word.hasSelection() ? word.selectionStart() : dragAnchor_;
  const int wordEnd = word.hasSelection() ? word.selectionEnd() : dragAnchor_;
  int anchor = dragAnchor_;
  int end = pos;
  if (pos > wordEnd || pos < wordStart) {
    QTextCursor target(document());
    target.setPosition(pos);
    if (pos > wordEnd) {
      anchor = wordStart;
      target.movePosition(QTextCursor::EndOfWord);
    } else {
      anchor = wordEnd;
      target.movePosition(QTextCursor::StartOfWord);
    }
    end = target.position();
  }
  if (c.anchor() == anchor && c.position() == end) return;
  c.setPosition(anchor);
  c.setPosition(end, QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void RichEditView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (engine_ == nullptr) return QTextEdit::mouseDoubleClickEvent(event);
  NotifyBatch batch(engine_->notifier());
  if (mouseToHost(WM_LBUTTONDBLCLK, event)) return;
  QTextEdit::mouseDoubleClickEvent(event);
  dragAnchor_ = -1;  // a double-click drag selects words already
}

void RichEditView::contextMenuEvent(QContextMenuEvent* event) {
  // A host that shows its own menu sets a policy on the control; the event goes on to it.
  if (engine_ == nullptr || (parentWidget() != nullptr &&
                             parentWidget()->contextMenuPolicy() != Qt::DefaultContextMenu)) {
    event->ignore();
    return;
  }
  QMenu menu(this);
  const bool writable = !isReadOnly();
  const bool selected = textCursor().hasSelection();
  menu.addAction(tr("&Undo"), this, [this] { engine_->undo(); })
      ->setEnabled(writable && engine_->dispatch(EM_CANUNDO, 0, 0) != 0);
  menu.addAction(tr("&Redo"), this, [this] { engine_->redo(); })
      ->setEnabled(writable && engine_->dispatch(EM_CANREDO, 0, 0) != 0);
  menu.addSeparator();
  menu.addAction(tr("Cu&t"), this, [this] { engine_->cut(); })->setEnabled(writable && selected);
  menu.addAction(tr("&Copy"), this, [this] { engine_->copy(); })->setEnabled(selected);
  menu.addAction(tr("&Paste"), this, [this] { engine_->paste(); })
      ->setEnabled(writable && engine_->dispatch(EM_CANPASTE, 0, 0) != 0);
  menu.addAction(tr("&Delete"), this, [this] { engine_->dispatch(WM_CLEAR, 0, 0); })
      ->setEnabled(writable && selected);
  menu.addSeparator();
  menu.addAction(tr("Select &All"), this, [this] { selectAll(); });
  menu.exec(event->globalPos());
}

void RichEditView::dropEvent(QDropEvent* event) {
  if (engine_ == nullptr) return QTextEdit::dropEvent(event);
  NotifyBatch batch(engine_->notifier());
  QTextEdit::dropEvent(event);
}

void RichEditView::resizeEvent(QResizeEvent* event) {
  QTextEdit::resizeEvent(event);
  if (engine_ != nullptr) engine_->viewResized();
}

void RichEditView::changeEvent(QEvent* event) {
  // The text's font is the control's default character format, not the widget's font.
  if (event->type() == QEvent::FontChange) {
    QAbstractScrollArea::changeEvent(event);
    return;
  }
  QTextEdit::changeEvent(event);
}

QMimeData* RichEditView::createMimeDataFromSelection() const {
  return engine_ != nullptr ? engine_->mimeForSelection()
                            : QTextEdit::createMimeDataFromSelection();
}

bool RichEditView::canInsertFromMimeData(const QMimeData* source) const {
  return engine_ != nullptr ? engine_->canPaste(source) : QTextEdit::canInsertFromMimeData(source);
}

void RichEditView::insertFromMimeData(const QMimeData* source) {
  if (engine_ == nullptr) return QTextEdit::insertFromMimeData(source);
  if (source != nullptr) engine_->pasteFrom(*source);
}

void RichEditView::paintEvent(QPaintEvent* event) {
  QTextEdit::paintEvent(event);
  paintNumbering();
}

namespace {

// The number of a numbered paragraph: its place in the run of paragraphs numbered alike.
int numberOf(QTextBlock block) {
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

}  // namespace

void RichEditView::paintNumbering() {
  QTextDocument* doc = document();
  QAbstractTextDocumentLayout* layout = doc->documentLayout();
  const QPointF scroll(horizontalScrollBar()->value(), verticalScrollBar()->value());
  QTextBlock block = cursorForPosition(QPoint(0, 0)).block();
  QPainter painter;
  int previousKind = 0;
  int number = 0;
  for (; block.isValid(); block = block.next()) {
    const QRectF rect = layout->blockBoundingRect(block).translated(-scroll);
    if (rect.top() > viewport()->height()) break;
    const QTextBlockFormat bf = block.blockFormat();
    const int kind = bf.intProperty(fmt::BlockNumbering);
    if (kind == 0 || block.layout() == nullptr || block.layout()->lineCount() == 0) {
      previousKind = 0;
      continue;
    }
    number = kind == previousKind ? number + 1 : numberOf(block);
    previousKind = kind;
    const QString label =
        fmt::numberingLabel(kind, number, bf.intProperty(fmt::BlockNumberingStyle));
    if (label.isEmpty()) continue;
    if (!painter.isActive()) painter.begin(viewport());
    const QTextLine first = block.layout()->lineAt(0);
    QTextCharFormat cf = block.charFormat();
    if (block.begin() != block.end()) cf = block.begin().fragment().charFormat();
    QFont font = doc->defaultFont();
    font = cf.font().resolve(font);
    painter.setFont(font);
    painter.setPen(cf.hasProperty(QTextFormat::ForegroundBrush) ? cf.foreground().color()
                                                                : palette().color(QPalette::Text));
    const QFontMetricsF metrics(font);
    const double offset = std::max(fmt::twipsToPixels(bf.intProperty(fmt::BlockOffset)),
                                   metrics.horizontalAdvance(label) + 2);
    const double baseline = rect.top() + first.y() + first.ascent();
    if (block.textDirection() == Qt::RightToLeft) {
      // Mirrored: the label stands in the hanging space to the right of the text.
      const double x =
          rect.left() + first.x() + first.width() + offset - metrics.horizontalAdvance(label);
      painter.drawText(
          QPointF(std::min(x, rect.right() - metrics.horizontalAdvance(label)), baseline), label);
    } else {
      const double x = std::max(rect.left(), rect.left() + first.x() - offset);
      painter.drawText(QPointF(x, baseline), label);
    }
  }
}

}  // namespace richedit
