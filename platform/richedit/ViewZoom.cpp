// The view's zoom: what is shown is scaled, the document is not. QTextEdit maps between the
// viewport and the document by the scroll position alone, so every road across that border
// (painting, repaint and scroll requests from Qt's text control, the scroll range, mouse,
// drag and input-method positions, the wrap width) is scaled here.

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

namespace {

// The steps Ctrl+plus and Ctrl+minus go through, in percent; Ctrl+0 returns to 100.
constexpr std::array<int, 16> kZoomSteps{25,  33,  50,  67,  75,  90,  100, 110,
                                         125, 150, 175, 200, 250, 300, 400, 500};

QPointF scrollOffset(const QTextEdit& view) {
  return QPointF(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
}

// Qt's private slots, looked up once by name: the text control inside QTextEdit has no public
// interface, and its repaint and scroll requests are in document units that QTextEdit takes
// for view pixels.
QMetaMethod textEditSlot(const QObject& view, const char* signature) {
  const QMetaObject* meta = view.metaObject();
  return meta->method(meta->indexOfSlot(signature));
}

}  // namespace

bool RichEditView::setZoom(int numerator, int denominator) {
  const bool reset = numerator == 0 && denominator == 0;
  if (!reset) {
    // The platform takes ratios strictly between 1/64 and 64.
    const std::int64_t n = numerator;
    const std::int64_t d = denominator;
    if (n <= 0 || d <= 0 || n * 64 <= d || n >= d * 64) return false;
  }
  const int topCharacter = cursorAt(QPoint(0, 0)).position();
  zoomNumerator_ = numerator;
  zoomDenominator_ = denominator;
  zoom_ = reset ? 1.0 : double(numerator) / double(denominator);
  applyWrap();
  fitScrollRanges();
  // The character that was at the top of the view stays there.
  QTextCursor top(document());
  top.setPosition(std::clamp(topCharacter, 0, document()->characterCount() - 1));
  QScrollBar* bar = verticalScrollBar();
  bar->setValue(bar->value() + caretRect(top).top());
  rememberTop();
  viewport()->update();
  return true;
}

void RichEditView::setWrapToWindow(bool wrap) {
  wrapToWindow_ = wrap;
  applyWrap();
}

// Wrapped text is laid out at the width that, scaled, fills the window.
void RichEditView::applyWrap() {
  if (!wrapToWindow_) {
    if (lineWrapMode() != QTextEdit::NoWrap) setLineWrapMode(QTextEdit::NoWrap);
    return;
  }
  if (zoom_ == 1.0) {
    if (lineWrapMode() != QTextEdit::WidgetWidth) setLineWrapMode(QTextEdit::WidgetWidth);
    return;
  }
  const int width = std::max(1, int(viewport()->width() / zoom_));
  if (lineWrapColumnOrWidth() != width) setLineWrapColumnOrWidth(width);
  if (lineWrapMode() != QTextEdit::FixedPixelWidth) setLineWrapMode(QTextEdit::FixedPixelWidth);
}

// QTextEdit sets the scroll range from the document's size; shown at a zoom, the range is that
// size scaled. Called whenever QTextEdit has set a range of its own.
void RichEditView::fitScrollRanges() {
  if (zoom_ == 1.0 || fittingRanges_) return;
  fittingRanges_ = true;
  const QSizeF size = document()->documentLayout()->documentSize() * zoom_;
  const QSize shown = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, int(std::ceil(size.width())) - shown.width()));
  horizontalScrollBar()->setPageStep(shown.width());
  verticalScrollBar()->setRange(0, std::max(0, int(std::ceil(size.height())) - shown.height()));
  verticalScrollBar()->setPageStep(shown.height());
  fittingRanges_ = false;
}

// Qt's text control asks QTextEdit to repaint and to scroll to rectangles in document units;
// those requests come here instead, are scaled, and go on to QTextEdit's own handling.
void RichEditView::interceptTextControl() {
  for (QObject* child : children()) {
    if (child->metaObject()->indexOfSignal("visibilityRequest(QRectF)") >= 0) {
      textControl_ = child;
      break;
    }
  }
  if (textControl_ == nullptr) return;
  if (disconnect(textControl_, SIGNAL(updateRequest(QRectF)), this,
                 SLOT(_q_repaintContents(QRectF)))) {
    connect(textControl_, SIGNAL(updateRequest(QRectF)), this, SLOT(repaintDocumentRect(QRectF)));
  }
  if (disconnect(textControl_, SIGNAL(visibilityRequest(QRectF)), this,
                 SLOT(_q_ensureVisible(QRectF)))) {
    connect(textControl_, SIGNAL(visibilityRequest(QRectF)), this, SLOT(showDocumentRect(QRectF)));
  }
  connect(horizontalScrollBar(), &QScrollBar::rangeChanged, this, [this] { fitScrollRanges(); });
  connect(verticalScrollBar(), &QScrollBar::rangeChanged, this, [this] { fitScrollRanges(); });
}

QRectF RichEditView::toViewRect(const QRectF& documentRect) const {
  return QRectF(documentRect.topLeft() * zoom_, documentRect.size() * zoom_);
}

void RichEditView::repaintDocumentRect(const QRectF& rect) {
  static const QMetaMethod repaint = textEditSlot(*this, "_q_repaintContents(QRectF)");
  repaint.invoke(this, Qt::DirectConnection,
                 Q_ARG(QRectF, rect.isValid() ? toViewRect(rect) : rect));
}

void RichEditView::showDocumentRect(const QRectF& rect) {
  static const QMetaMethod show = textEditSlot(*this, "_q_ensureVisible(QRectF)");
  show.invoke(this, Qt::DirectConnection, Q_ARG(QRectF, toViewRect(rect)));
}

QPointF RichEditView::toDocument(const QPointF& viewportPos) const {
  return (viewportPos + scrollOffset(*this)) / zoom_;
}

QPointF RichEditView::toViewport(const QPointF& documentPos) const {
  return documentPos * zoom_ - scrollOffset(*this);
}

// QTextEdit's answers are in document units less the scroll position.
QRect RichEditView::caretRect(const QTextCursor& cursor) const {
  const QRectF inDocument = QRectF(cursorRect(cursor)).translated(scrollOffset(*this));
  return QRectF(toViewport(inDocument.topLeft()), inDocument.size() * zoom_).toRect();
}

QTextCursor RichEditView::cursorAt(const QPoint& viewportPos) const {
  return cursorForPosition((toDocument(viewportPos) - scrollOffset(*this)).toPoint());
}

void RichEditView::forwardMouse(QMouseEvent* event,
                                const std::function<void(QMouseEvent*)>& handler) {
  if (zoom_ == 1.0) return handler(event);
  QMouseEvent inDocument(event->type(), toDocument(event->position()) - scrollOffset(*this),
                         event->scenePosition(), event->globalPosition(), event->button(),
                         event->buttons(), event->modifiers(), event->pointingDevice());
  inDocument.setTimestamp(event->timestamp());
  handler(&inDocument);
  event->setAccepted(inDocument.isAccepted());
}

void RichEditView::dragMoveEvent(QDragMoveEvent* event) {
  if (zoom_ == 1.0) return QTextEdit::dragMoveEvent(event);
  // The drop caret is placed where the text under the mouse lies.
  QDragMoveEvent inDocument((toDocument(event->position()) - scrollOffset(*this)).toPoint(),
                            event->possibleActions(), event->mimeData(), event->buttons(),
                            event->modifiers());
  QTextEdit::dragMoveEvent(&inDocument);
  event->setDropAction(inDocument.dropAction());
  event->setAccepted(inDocument.isAccepted());
}

QVariant RichEditView::inputMethodQuery(Qt::InputMethodQuery query) const {
  QVariant answer = QTextEdit::inputMethodQuery(query);
  const bool rect = query == Qt::ImCursorRectangle || query == Qt::ImAnchorRectangle ||
                    query == Qt::ImInputItemClipRectangle;
  if (zoom_ == 1.0 || !rect) return answer;
  // The input method's window stands beside the caret as shown.
  const QRectF inDocument = answer.toRectF().translated(scrollOffset(*this));
  return QRectF(toViewport(inDocument.topLeft()), inDocument.size() * zoom_);
}

// Ctrl+plus (or Ctrl+=), Ctrl+minus and Ctrl+0 zoom the view, as Ctrl with the wheel does.
bool RichEditView::handleZoomKey(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (mods != Qt::ControlModifier) return false;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      stepZoom(1);
      break;
    case Qt::Key_Minus:
      stepZoom(-1);
      break;
    case Qt::Key_0:
      setZoom(0, 0);
      break;
    default:
      return false;
  }
  event->accept();
  return true;
}

void RichEditView::stepZoom(int steps) {
  const int percent = int(std::lround(zoom_ * 100));
  int next = percent;
  if (steps > 0) {
    const auto* it = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    next = it == kZoomSteps.end() ? kZoomSteps.back() : *it;
  } else {
    const auto* it = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), percent);
    next = it == kZoomSteps.begin() ? kZoomSteps.front() : *(it - 1);
  }
  if (next == 100) {
    setZoom(0, 0);
  } else {
    setZoom(next, 100);
  }
}

void RichEditView::wheelEvent(QWheelEvent* event) {
  if (engine_ != nullptr && engine_->hostTakesWheel(*event)) {
    event->accept();
    return;
  }
  if (!(event->modifiers() & Qt::ControlModifier)) return QTextEdit::wheelEvent(event);
  const int delta = event->angleDelta().y();
  if (delta != 0) stepZoom(delta > 0 ? 1 : -1);
  event->accept();
}

}  // namespace richedit
