// The control's settings: event mask, background colour, options, URL detection, undo, text
// mode, language options, the object interface, redraw, read-only and the view's zoom.

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <cmath>
#include <tuple>

#include "platform/richedit/LinkHighlighter.h"
#include "platform/richedit/ParagraphLayout.h"
#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"

namespace richedit {

namespace {
constexpr LRESULT kUnexpected = LRESULT(std::int32_t(0x8000FFFFu));  // E_UNEXPECTED
}

LRESULT RichEditEngine::onSetEventMask(LPARAM mask) {
  const DWORD previous = notifier_.mask();
  notifier_.setMask(DWORD(mask));
  return previous;
}

LRESULT RichEditEngine::onSetBkgndColor(WPARAM useSystem, LPARAM color) {
  const COLORREF previous = background_;
  background_ = useSystem != 0 ? RGB(255, 255, 255) : COLORREF(color & 0xFFFFFF);
  QPalette pal = view_.palette();
  pal.setColor(QPalette::Base,
               QColor(GetRValue(background_), GetGValue(background_), GetBValue(background_)));
  view_.setPalette(pal);
  applyOptions();  // a hidden selection takes the new background
  return previous;
}

LRESULT RichEditEngine::onSetOptions(WPARAM op, LPARAM options) {
  const DWORD o = DWORD(options);
  switch (op) {
    case ECOOP_SET:
      options_ = o;
      break;
    case ECOOP_OR:
      options_ |= o;
      break;
    case ECOOP_AND:
      options_ &= o;
      break;
    case ECOOP_XOR:
      options_ ^= o;
      break;
    default:
      return options_;
  }
  applyOptions();
  return options_;
}

void RichEditEngine::applyOptions() {
  view_.setReadOnly(options_ & ECO_READONLY);
  view_.setHideSelectionWhenInactive(hideSelection_ && !(options_ & ECO_NOHIDESEL));
  view_.setSelectionBar((options_ & ECO_SELECTIONBAR) != 0);
}

LRESULT RichEditEngine::onHideSelection(WPARAM hide) {
  hideSelection_ = hide != 0;
  applyOptions();
  return 0;
}

LRESULT RichEditEngine::onAutoUrlDetect(WPARAM on) {
  if (on > 1) return LRESULT(E_INVALIDARG);
  if (autoUrl_ == (on != 0)) return 0;
  autoUrl_ = on != 0;
  // Showing or hiding the marks is not an edit.
  ++suppressModify_;
  notifier_.holdChanges(true);
  highlighter_->rehighlight();
  notifier_.holdChanges(false);
  --suppressModify_;
  return 0;
}

LRESULT RichEditEngine::onSetUndoLimit(WPARAM limit) {
  // A negative limit asks for the default of 100 steps.
  const auto asked = std::int32_t(limit);
  const int l = asked < 0 ? 100 : asked;
  askedUndoLimit_ = l;
  undo_.setLimit((textMode_ & TM_SINGLELEVELUNDO) ? std::min(l, 1) : l);
  return undo_.limit();
}

// The mode can change only while the control is empty, as on the platform.
LRESULT RichEditEngine::onSetTextMode(WPARAM mode) {
  if (textLength() > 0) return kUnexpected;
  const WPARAM kinds = mode & (TM_PLAINTEXT | TM_RICHTEXT);
  const WPARAM undos = mode & (TM_SINGLELEVELUNDO | TM_MULTILEVELUNDO);
  const WPARAM pages = mode & (TM_SINGLECODEPAGE | TM_MULTICODEPAGE);
  if (kinds == (TM_PLAINTEXT | TM_RICHTEXT) || undos == (TM_SINGLELEVELUNDO | TM_MULTILEVELUNDO) ||
      pages == (TM_SINGLECODEPAGE | TM_MULTICODEPAGE)) {
    return LRESULT(std::int32_t(0x80070057u));  // E_INVALIDARG
  }
  if (kinds) textMode_ = (textMode_ & ~(TM_PLAINTEXT | TM_RICHTEXT)) | kinds;
  if (undos) textMode_ = (textMode_ & ~(TM_SINGLELEVELUNDO | TM_MULTILEVELUNDO)) | undos;
  if (pages) textMode_ = (textMode_ & ~(TM_SINGLECODEPAGE | TM_MULTICODEPAGE)) | pages;
  undo_.setLimit((textMode_ & TM_SINGLELEVELUNDO) ? std::min(askedUndoLimit_, 1) : askedUndoLimit_);
  view_.setAcceptRichText(!plainTextMode());
  return 0;
}

LRESULT RichEditEngine::onSetLangOptions(LPARAM options) {
  langOptions_ = DWORD(options);
  return 1;
}

LRESULT RichEditEngine::onSetOleCallback(LPARAM callback) {
  oleCallback_ = reinterpret_cast<IRichEditOleCallback*>(callback);
  return 1;
}

LRESULT RichEditEngine::onGetOleInterface(LPARAM place) {
  auto** out = reinterpret_cast<IRichEditOle**>(place);
  if (out == nullptr) return 0;
  ole_.AddRef();
  *out = &ole_;
  return 1;
}

LRESULT RichEditEngine::onSetRedraw(WPARAM on) {
  // Nothing is shown meanwhile, so nothing needs laying out after each edit.
  if (auto* layout = dynamic_cast<ParagraphLayout*>(doc_->documentLayout()))
    layout->holdLayout(on == 0);
  view_.viewport()->setUpdatesEnabled(on != 0);
  if (on != 0) view_.viewport()->update();
  return 0;
}

LRESULT RichEditEngine::onSetReadOnly(WPARAM on) {
  if (on != 0) {
    options_ |= ECO_READONLY;
  } else {
    options_ &= ~ECO_READONLY;
  }
  applyOptions();
  return 1;
}

LRESULT RichEditEngine::onUndo() {
  return undo() ? 1 : 0;
}
LRESULT RichEditEngine::onRedo() {
  return redo() ? 1 : 0;
}

bool RichEditEngine::undo() {
  NotifyBatch batch(notifier_);
  return undo_.undo();
}

bool RichEditEngine::redo() {
  NotifyBatch batch(notifier_);
  return undo_.redo();
}

LRESULT RichEditEngine::onEmptyUndoBuffer() {
  undo_.clear();
  return 0;
}

LRESULT RichEditEngine::onStopGroupTyping() {
  undo_.stopTyping();
  return 0;
}

LRESULT RichEditEngine::onRequestResize() {
  requestResize(true);
  return 0;
}

// Tells the host the height the content needs (a bottomless control grows to it). Layout
// changes arrive in the middle of an edit, so those requests wait for the event loop and are
// sent only when the height really changed.
void RichEditEngine::requestResize(bool always) {
  if (always) {
    sendResize(true);
    return;
  }
  if (resizeQueued_) return;
  resizeQueued_ = true;
  QMetaObject::invokeMethod(
      this,
      [this] {
        resizeQueued_ = false;
        sendResize(false);
      },
      Qt::QueuedConnection);
}

void RichEditEngine::sendResize(bool always) {
  if (!notifier_.wants(ENM_REQUESTRESIZE)) return;
  const int height = int(std::ceil(doc_->documentLayout()->documentSize().height()));
  if (height == requestedHeight_ && !always) return;
  requestedHeight_ = height;
  REQRESIZE r{};
  r.rc = {0, 0, LONG(control_.width()), LONG(height)};
  notifier_.notify(r, EN_REQUESTRESIZE);
}

// The view's zoom; the document, its formats and the modify flag are untouched.
LRESULT RichEditEngine::onGetZoom(WPARAM numerator, LPARAM denominator) {
  auto* n = reinterpret_cast<int*>(numerator);
  auto* d = reinterpret_cast<int*>(denominator);
  if (n == nullptr || d == nullptr) return 0;
  std::tie(*n, *d) = view_.zoomRatio();
  return 1;
}

LRESULT RichEditEngine::onSetZoom(WPARAM numerator, LPARAM denominator) {
  return view_.setZoom(int(std::intptr_t(numerator)), int(denominator)) ? 1 : 0;
}

}  // namespace richedit
