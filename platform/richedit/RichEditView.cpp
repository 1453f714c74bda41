#include "platform/richedit/RichEditView.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>

#include "platform/richedit/document/DocumentFormat.h"
#include "platform/richedit/InputMessages.h"
#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/ZoomedLayout.h"

namespace richedit {

namespace {

constexpr WPARAM VK_BACK = 0x08;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_DELETE = 0x2E;
// The platform's control keeps its text one pixel in from the left edge; the selection bar
// adds a strip before that.
constexpr int kTextInset = 1;
constexpr int kSelectionBarWidth = 8;

// Keys that type: characters, Tab, Enter, and Backspace, which takes back what was typed.
bool typingKey(const QKeyEvent& event) {
  const bool command = event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  if (command) return false;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Backspace:
    case Qt::Key_Tab:
      return true;
    default:
      return !event.text().isEmpty() && event.text().at(0).isPrint();
  }
}

}  // namespace

RichEditView::RichEditView(QWidget* parent) : QTextEdit(parent) {
  // The document is laid out paragraph by paragraph (see ParagraphLayout).
  auto* doc = new QTextDocument(this);
  auto* layout = new ZoomedLayout(doc);
  doc->setDocumentLayout(layout);
  layout->setOnLaterLayout([this] { keepTopInPlace(); });
  layout->setIsShown([this] { return isVisible(); });
  setDocument(doc);
  setFrameShape(QFrame::NoFrame);
  setAcceptRichText(true);
  setTabChangesFocus(false);
  setViewportMargins(kTextInset, 0, 0, 0);
  // The strip left of the text (the inset and the selection bar) is part of the page, so it
  // takes the page's background, also after EM_SETBKGNDCOLOR.
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  document()->setDocumentMargin(0);
  viewport()->setMouseTracking(true);
  updateSelectionColours();
  connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    if (!restoringTop_) rememberTop();
  });
  interceptTextControl();
}

// The paragraph at the top of the window and how far into it the window starts; kept as a
// cursor so that edits move it along.
void RichEditView::rememberTop() {
  const QTextBlock block = cursorAt(QPoint(0, 0)).block();
  top_ = QTextCursor(document());
  top_.setPosition(block.position());
  topOffset_ = verticalScrollBar()->value() / zoom_ -
               document()->documentLayout()->blockBoundingRect(block).top();
}

// Paragraphs laid out late may be taller or shorter than estimated; when they lie above the
// window, the text shown would move, so the window moves with it instead.
void RichEditView::keepTopInPlace() {
  if (top_.isNull()) return;
  const QRectF rect = document()->documentLayout()->blockBoundingRect(top_.block());
  const int wanted = int(std::lround((rect.top() + topOffset_) * zoom_));
  QScrollBar* bar = verticalScrollBar();
  if (bar->value() == wanted) return;
  restoringTop_ = true;
  bar->setValue(wanted);
  restoringTop_ = false;
}

void RichEditView::setHideSelectionWhenInactive(bool hide) {
  hideWhenInactive_ = hide;
  updateSelectionColours();
}

void RichEditView::setSelectionBar(bool on) {
  if (selectionBar_ == on) return;
  selectionBar_ = on;
  setViewportMargins(kTextInset + (on ? kSelectionBarWidth : 0), 0, 0, 0);
}

// The bar lies outside the viewport, so its clicks come to the view itself rather than
// through the viewport's handlers.
bool RichEditView::event(QEvent* event) {
  const QEvent::Type type = event->type();
  const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
  if (selectionBar_ && engine_ != nullptr &&
      (press || type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint p = mouse->position().toPoint();
    const int y = p.y() - viewport()->geometry().top();
    const bool inBar = p.x() < viewport()->geometry().left();
    if ((inBar || barDrag_) && hostTakesMouse(*mouse, p - viewport()->geometry().topLeft())) {
      if (type == QEvent::MouseButtonRelease) barDrag_ = false;
      return true;
    }
    if (press && mouse->button() == Qt::LeftButton && inBar) {
      NotifyBatch batch(engine_->notifier());
      setFocus(Qt::MouseFocusReason);
      barDragParagraphs_ = type == QEvent::MouseButtonDblClick;
      selectFromBar(y,
                    (mouse->modifiers() & Qt::ShiftModifier) ? BarClick::Extend : BarClick::Press);
      barDrag_ = true;
      event->accept();
      return true;
    }
    // Dragging from the bar selects whole lines (or paragraphs, after a double click).
    if (barDrag_ && type == QEvent::MouseMove && (mouse->buttons() & Qt::LeftButton)) {
      NotifyBatch batch(engine_->notifier());
      selectFromBar(y, BarClick::Drag);
      return true;
    }
    if (barDrag_ && type == QEvent::MouseButtonRelease) {
      barDrag_ = false;
      return true;
    }
  }
  return QTextEdit::event(event);
}

// Selects the display line at a height in the viewport (or its whole paragraph after a double
// click), with the paragraph's break when the line ends it, as the platform's selection bar
// does; a drag or a shift-click takes in the lines from the first one.
void RichEditView::selectFromBar(int viewportY, BarClick click) {
  QTextCursor at = cursorAt(QPoint(0, std::max(viewportY, 0)));
  at.clearSelection();
  const QTextBlock block = at.block();
  int start = block.position();
  int end = block.position() + block.length() - 1;  // before the paragraph's break
  const QTextLayout* layout = block.layout();
  if (!barDragParagraphs_ && layout != nullptr && layout->lineCount() > 0) {
    const QTextLine line = layout->lineForTextPosition(at.position() - block.position());
    if (line.isValid()) {
      start = block.position() + line.textStart();
      // A wrapped line runs to where the next begins, its trailing space included.
      if (line.lineNumber() + 1 < layout->lineCount()) {
        end = block.position() + line.textStart() + line.textLength();
      }
    }
  }
  if (end == block.position() + block.length() - 1 && block.next().isValid()) ++end;
  QTextCursor c = textCursor();
  if (click == BarClick::Extend) {
    // Shift: from where the selection was anchored to this line.
    const int anchor = c.anchor();
    barFirst_ = {anchor, anchor};
  } else if (click == BarClick::Press) {
    barFirst_ = {start, end};
  }
  // The selection covers the first line and this one and every line between.
  if (start < barFirst_.first) {
    c.setPosition(std::max(barFirst_.second, end));
    c.setPosition(start, QTextCursor::KeepAnchor);
  } else {
    c.setPosition(barFirst_.first);
    c.setPosition(std::max(barFirst_.second, end), QTextCursor::KeepAnchor);
  }
  setTextCursor(c);
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
  if (event->matches(QKeySequence::SelectAll)) {
    engine_->selectAll();
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

  if (refuseKeyDelete(event)) return true;
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

// Every key that deletes (a character, a word, to the line's end, the whole line, or the
// selection) asks about the text it would take away before Qt's own handling takes it.
bool RichEditView::refuseKeyDelete(QKeyEvent* event) {
  const QTextCursor c = textCursor();
  const int pos = c.position();
  auto extent = [&](QTextCursor::MoveOperation op) {
    QTextCursor m = c;
    m.clearSelection();
    m.movePosition(op);
    return m.position();
  };
  int from = -1;
  int to = -1;
  WPARAM key = VK_DELETE;
  UINT msg = WM_KEYDOWN;
  if (event->matches(QKeySequence::DeleteStartOfWord)) {
    from = extent(QTextCursor::PreviousWord), to = pos, key = VK_BACK;
  } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
    from = pos, to = extent(QTextCursor::NextWord);
  } else if (event->matches(QKeySequence::DeleteEndOfLine)) {
    from = pos, to = extent(QTextCursor::EndOfBlock);
    // Qt takes the paragraph break when the caret stands at the paragraph's end.
    if (to == pos) to = pos + 1;
  } else if (event->matches(QKeySequence::DeleteCompleteLine)) {
    from = extent(QTextCursor::StartOfBlock), to = extent(QTextCursor::EndOfBlock);
  } else if (event->key() == Qt::Key_Backspace) {
    from = pos - 1, to = pos, key = VK_BACK, msg = WM_CHAR;
  } else if (event->key() == Qt::Key_Delete) {
    from = pos, to = pos + 1;
  } else {
    return false;
  }
  if (c.hasSelection()) {
    from = c.selectionStart();
    to = c.selectionEnd();
  }
  return from < to && !engine_->allowDelete(from, to, msg, key);
}

void RichEditView::keyPressEvent(QKeyEvent* event) {
  if (engine_ != nullptr && hostTakesKeyPress(*event)) {
    event->accept();
    return;
  }
  if (handleZoomKey(event)) return;
  if (engine_ == nullptr) return QTextEdit::keyPressEvent(event);
  NotifyBatch batch(engine_->notifier());
  if (handleTableKey(event) || handleEditKey(event)) {
    event->accept();
    return;
  }
  const int before = textCursor().position();
  const bool typing = typingKey(*event);
  const bool edits = typing || event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace;
  engine_->applyKey(typing ? RichEditEngine::KeyEdit::Typing : RichEditEngine::KeyEdit::Other, [&] {
    if (edits) engine_->removeWholeSelection();
    QTextEdit::keyPressEvent(event);
  });
  if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right)
    stepOverHidden(before, (event->modifiers() & Qt::ShiftModifier) != 0);
}

// A press is a key-down and, for a key that types, the character after it: the character
// decides whether the typing happens, the key-down whether any other key acts.
bool RichEditView::hostTakesKeyPress(const QKeyEvent& event) {
  const bool keyTaken = engine_->hostTakesKey(WM_KEYDOWN, event);
  if (typedCharacter(event) == 0) return keyTaken;
  return engine_->hostTakesKey(WM_CHAR, event);
}

void RichEditView::keyReleaseEvent(QKeyEvent* event) {
  if (engine_ != nullptr && engine_->hostTakesKey(WM_KEYUP, *event)) {
    event->accept();
    return;
  }
  QTextEdit::keyReleaseEvent(event);
}

namespace {

bool hiddenAt(const QTextDocument& doc, int pos) {
  const QTextBlock block = doc.findBlock(pos);
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment f = it.fragment();
    if (pos >= f.position() && pos < f.position() + f.length()) {
      return f.charFormat().boolProperty(fmt::CharHidden);
    }
  }
  return false;
}

}  // namespace

// Hidden text takes no room, so a caret inside it would not seem to move: an arrow key that
// lands in it goes on through it and over the next character shown.
void RichEditView::stepOverHidden(int from, bool extend) {
  QTextCursor c = textCursor();
  const int len = document()->characterCount() - 1;
  int p = c.position();
  if (p == from) return;
  if (p > from) {
    while (p < len && p > 0 && hiddenAt(*document(), p - 1)) ++p;
  } else {
    while (p > 0 && hiddenAt(*document(), p)) --p;
  }
  if (p == c.position()) return;
  c.setPosition(p, extend ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
  setTextCursor(c);
}

void RichEditView::inputMethodEvent(QInputMethodEvent* event) {
  if (engine_ == nullptr) return QTextEdit::inputMethodEvent(event);
  NotifyBatch batch(engine_->notifier());
  if (!isReadOnly() && refuseInputMethodEdit(*event)) {
    event->accept();
    return;
  }
  const bool commits = !event->commitString().isEmpty();
  engine_->applyKey(commits ? RichEditEngine::KeyEdit::Typing : RichEditEngine::KeyEdit::Other,
                    [&] {
                      if (commits) engine_->removeWholeSelection();
                      QTextEdit::inputMethodEvent(event);
                    });
}

void RichEditView::focusInEvent(QFocusEvent* event) {
  if (engine_ != nullptr) engine_->stopTyping();
  QTextEdit::focusInEvent(event);
}

void RichEditView::focusOutEvent(QFocusEvent* event) {
  if (engine_ != nullptr) engine_->stopTyping();
  QTextEdit::focusOutEvent(event);
}

// An input method may replace text around the caret as well as commit new text (a
// correction, a composed character); both go through the same checks as typing.
bool RichEditView::refuseInputMethodEdit(const QInputMethodEvent& event) {
  const QString& commit = event.commitString();
  const WPARAM key = commit.isEmpty() ? VK_BACK : commit.at(0).unicode();
  if (event.replacementLength() > 0) {
    // Qt takes the selection away first and measures the replacement from the caret then;
    // counted before the edit, that covers the selection and the span beside it.
    const QTextCursor c = textCursor();
    const int start = c.selectionStart() + event.replacementStart();
    const int selected = c.selectionEnd() - c.selectionStart();
    const int from = std::min(c.selectionStart(), start);
    const int to = std::max(c.selectionEnd(), start + selected + event.replacementLength());
    if (from < to && !engine_->allowDelete(from, to, WM_CHAR, key)) return true;
  }
  return !commit.isEmpty() && !engine_->allowTyping(commit, WM_CHAR, key);
}

bool RichEditView::hostTakesMouse(const QMouseEvent& event, const QPoint& viewportPos) {
  const UINT msg = event.type() == QEvent::MouseMove
                       ? WM_MOUSEMOVE
                       : mouseButtonMessage(event.type(), event.button());
  const bool taken = engine_->hostTakesMouse(msg, viewportPos, event.modifiers(), event.buttons());
  if (event.button() == Qt::RightButton && event.type() != QEvent::MouseMove)
    rightClickTaken_ = taken;
  return taken;
}

bool RichEditView::mouseToHost(unsigned msg, QMouseEvent* event) {
  return engine_->mouseOverLink(msg, event->position().toPoint(), event->modifiers(),
                                event->buttons());
}

void RichEditView::mousePressEvent(QMouseEvent* event) {
  if (engine_ == nullptr)
    return forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mousePressEvent(e); });
  NotifyBatch batch(engine_->notifier());
  if (hostTakesMouse(*event, event->position().toPoint())) {
    event->accept();
    return;
  }
  const UINT msg = event->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
  if (mouseToHost(msg, event)) return;
  // A press inside the selection may start dragging it; the control runs that drag itself so
  // that moving the text away goes through the protection check.
  const QTextCursor sel = textCursor();
  if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier) &&
      sel.hasSelection()) {
    const int at =
        document()->documentLayout()->hitTest(toDocument(event->position()), Qt::ExactHit);
    if (at >= sel.selectionStart() && at < sel.selectionEnd()) {
      pressInSelection_ = event->position().toPoint();
      event->accept();
      return;
    }
  }
  forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mousePressEvent(e); });
  const bool extending = event->modifiers() & Qt::ShiftModifier;
  dragAnchor_ = event->button() == Qt::LeftButton && !extending ? textCursor().position() : -1;
}

void RichEditView::mouseReleaseEvent(QMouseEvent* event) {
  if (engine_ == nullptr)
    return forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mouseReleaseEvent(e); });
  NotifyBatch batch(engine_->notifier());
  if (hostTakesMouse(*event, event->position().toPoint())) {
    event->accept();
    return;
  }
  const UINT msg = event->button() == Qt::RightButton ? WM_RBUTTONUP : WM_LBUTTONUP;
  const bool pressedInSelection = pressInSelection_.x() >= 0 && event->button() == Qt::LeftButton;
  if (pressedInSelection) pressInSelection_ = QPoint(-1, -1);
  if (mouseToHost(msg, event)) return;
  if (pressedInSelection) {
    // Pressed in the selection and let go without dragging: the caret goes where it was let go.
    setTextCursor(cursorAt(event->position().toPoint()));
    return;
  }
  forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mouseReleaseEvent(e); });
  dragAnchor_ = -1;
}

void RichEditView::mouseMoveEvent(QMouseEvent* event) {
  if (engine_ == nullptr)
    return forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mouseMoveEvent(e); });
  NotifyBatch batch(engine_->notifier());
  if (hostTakesMouse(*event, event->position().toPoint())) {
    event->accept();
    return;
  }
  const QPoint p = event->position().toPoint();
  const bool overLink = engine_->linkAtPoint(p).has_value();
  bool taken = false;
  if (overLink) taken = mouseToHost(WM_SETCURSOR, event);
  viewport()->setCursor(overLink && !taken ? Qt::PointingHandCursor : Qt::IBeamCursor);
  if (mouseToHost(WM_MOUSEMOVE, event)) return;
  if (pressInSelection_.x() >= 0) {
    if ((event->buttons() & Qt::LeftButton) &&
        (p - pressInSelection_).manhattanLength() >= QApplication::startDragDistance()) {
      pressInSelection_ = QPoint(-1, -1);
      startDrag();
    }
    return;
  }
  forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mouseMoveEvent(e); });
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
  if (engine_ == nullptr)
    return forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mouseDoubleClickEvent(e); });
  NotifyBatch batch(engine_->notifier());
  if (hostTakesMouse(*event, event->position().toPoint())) {
    event->accept();
    return;
  }
  if (mouseToHost(WM_LBUTTONDBLCLK, event)) return;
  forwardMouse(event, [this](QMouseEvent* e) { QTextEdit::mouseDoubleClickEvent(e); });
  dragAnchor_ = -1;  // a double-click drag selects words already
}

void RichEditView::contextMenuEvent(QContextMenuEvent* event) {
  if (event->reason() == QContextMenuEvent::Mouse && std::exchange(rightClickTaken_, false)) {
    event->accept();  // the host took the right button that asked for the menu
    return;
  }
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
  menu.addAction(tr("Select &All"), this, [this] { engine_->selectAll(); });
  menu.exec(event->globalPos());
}

void RichEditView::startDrag() {
  const QTextCursor sel = textCursor();
  const int from = sel.selectionStart();
  const int to = sel.selectionEnd();
  auto* drag = new QDrag(this);
  drag->setMimeData(engine_->mimeForSelection());
  const Qt::DropActions actions = isReadOnly() ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction;
  const Qt::DropAction done = drag->exec(actions, Qt::MoveAction);
  // A move into this control was made by its drop; one into another program takes the text
  // away here.
  const QObject* target = drag->target();
  if (done == Qt::MoveAction && target != this && target != viewport()) {
    engine_->removeDragged(from, to);
  }
}

// Drops go through the engine: within the text limit, and asking about protected text both
// where the text lands and, for a move, where it comes from.
void RichEditView::dropEvent(QDropEvent* event) {
  if (engine_ == nullptr) return QTextEdit::dropEvent(event);
  NotifyBatch batch(engine_->notifier());
  QDragLeaveEvent leave;  // takes away the drop caret Qt showed while dragging
  QTextEdit::dragLeaveEvent(&leave);
  const QMimeData* mime = event->mimeData();
  if (isReadOnly() || mime == nullptr || !engine_->canPaste(mime)) {
    event->ignore();
    return;
  }
  const int pos = cursorAt(event->position().toPoint()).position();
  const bool own = event->source() == this || event->source() == viewport();
  const DropMove move = own && event->dropAction() == Qt::MoveAction ? DropMove::Yes : DropMove::No;
  if (engine_->drop(*mime, pos, move)) {
    event->acceptProposedAction();
    setFocus();
  } else {
    event->ignore();
  }
}

// A new width rewraps every paragraph, so the same scroll value would show other text: the
// character that was at the top of the view is brought back to the top.
void RichEditView::resizeEvent(QResizeEvent* event) {
  const int topCharacter = cursorAt(QPoint(0, 0)).position();
  QTextEdit::resizeEvent(event);
  applyWrap();
  fitScrollRanges();
  if (engine_ != nullptr) engine_->viewResized();
  if (event->oldSize().width() != event->size().width() && topCharacter > 0) {
    QTextCursor top(document());
    top.setPosition(std::min(topCharacter, document()->characterCount() - 1));
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + caretRect(top).top());
  }
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
  {
    ZoomedPaint zoomed(*static_cast<ZoomedLayout*>(document()->documentLayout()), zoom_);
    QTextEdit::paintEvent(event);
  }
  if (top_.isNull()) rememberTop();
}

}  // namespace richedit
