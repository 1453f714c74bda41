#include "platform/richedit/RichEditEngine.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>

#include "platform/richedit/LinkHighlighter.h"
#include "platform/richedit/PrintLayout.h"
#include "platform/richedit/RichEditView.h"
#include "platform/richedit/TextConversion.h"
#include "platform/richedit/document/DocumentFormat.h"

namespace richedit {

namespace {

// The window style bits that are also option bits, at the same values.
constexpr DWORD kStyleOptions = ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_NOHIDESEL | ES_READONLY |
                                ES_WANTRETURN | ES_SAVESEL | ES_SELECTIONBAR;

Qt::ScrollBarPolicy scrollPolicy(bool wanted, bool keepVisible) {
  if (!wanted) return Qt::ScrollBarAlwaysOff;
  return keepVisible ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded;
}

}  // namespace

RichEditEngine::RichEditEngine(RichEditControl& control, RichEditView& view, DWORD style)
    : control_(control),
      view_(view),
      doc_(view.document()),
      style_(style),
      notifier_(
          &control,
          [this] {
            return Notifier::Selection{selection(), WORD(onSelectionType())};
          },
          [this] { return control_.isVisible(); }),
      lines_(*doc_),
      textBytes_(*doc_),
      undo_(*doc_) {
  view_.setEngine(this);

  // The default character format: the desktop's face at 10 points, automatic colour.
  const QString face = QApplication::font().family();
  fmt::setFace(defaultFormat_, face);
  defaultFormat_.setFontPointSize(10);
  defaultFormat_.setFontWeight(QFont::Normal);
  doc_->setDefaultFont(QFont(face, 10));

  options_ = style & kStyleOptions;
  applyOptions();
  const bool noWrap = (style & (WS_HSCROLL | ES_AUTOHSCROLL)) != 0;
  view_.setWrapToWindow(!noWrap);
  view_.setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  const bool keep = (style & ES_DISABLENOSCROLL) != 0;
  view_.setVerticalScrollBarPolicy(scrollPolicy(style & WS_VSCROLL, keep));
  view_.setHorizontalScrollBarPolicy(scrollPolicy(style & WS_HSCROLL, keep));
  if (style & (ES_CENTER | ES_RIGHT)) {
    QTextCursor c(doc_);
    c.setBlockFormat(defaultBlockFormat());
    doc_->clearUndoRedoStacks();
  }

  highlighter_ = new LinkHighlighter(*this, doc_);
  connect(doc_, &QTextDocument::contentsChange, this, &RichEditEngine::onContentsChange);
  connect(doc_, &QTextDocument::undoCommandAdded, this, [this] { undo_.stepAdded(); });
  connect(&view_, &QTextEdit::cursorPositionChanged, this, &RichEditEngine::onViewSelectionChanged);
  connect(&view_, &QTextEdit::selectionChanged, this, &RichEditEngine::onViewSelectionChanged);
  connect(doc_->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
          [this] { requestResize(false); });
  modified_ = false;
  notifier_.syncSelection();
}

RichEditEngine::~RichEditEngine() {
  // Nothing may reach the host while the control goes; the highlighter asks the engine about
  // URL detection, so it is cut off from it (it goes with the document, see detach).
  QObject::disconnect(doc_, nullptr, this, nullptr);
  QObject::disconnect(doc_->documentLayout(), nullptr, this, nullptr);
  QObject::disconnect(&view_, nullptr, this, nullptr);
  highlighter_->detach();
  view_.setEngine(nullptr);
}

int RichEditEngine::textLength() const {
  return std::max(doc_->characterCount() - 1, 0);
}

QTextCursor RichEditEngine::cursor() const {
  return view_.textCursor();
}

void RichEditEngine::setCursor(const QTextCursor& cursor) {
  view_.setTextCursor(cursor);
}

CHARRANGE RichEditEngine::selection() const {
  const QTextCursor c = cursor();
  return {LONG(c.selectionStart()), LONG(c.selectionEnd() + (selectionPastMark_ ? 1 : 0))};
}

QTextCursor RichEditEngine::rangeCursor(int from, int to) const {
  const int len = textLength();
  from = std::clamp(from, 0, len);
  to = std::clamp(to, 0, len);
  QTextCursor c(doc_);
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  return c;
}

QString RichEditEngine::textOf(int from, int to) const {
  if (to <= from) return {};
  return toControlText(rangeCursor(from, to).selectedText());
}

QTextBlockFormat RichEditEngine::defaultBlockFormat() const {
  QTextBlockFormat f;
  if (style_ & ES_CENTER) {
    f.setAlignment(Qt::AlignHCenter);
  } else if (style_ & ES_RIGHT) {
    f.setAlignment(Qt::AlignRight);
  }
  return f;
}

void RichEditEngine::removeSelected(QTextCursor& c) {
  const bool all =
      selectionPastMark_ && c.selectionStart() == 0 && c.selectionEnd() == textLength();
  if (!all) {
    c.removeSelectedText();
    return;
  }
  const QTextCharFormat typing = c.charFormat();
  c.removeSelectedText();
  c.setBlockFormat(defaultBlockFormat());
  c.setCharFormat(typing);
}

void RichEditEngine::removeWholeSelection() {
  QTextCursor c = cursor();
  if (!selectionPastMark_ || c.selectionStart() != 0 || c.selectionEnd() != textLength()) return;
  removeSelected(c);
  setCursor(c);
}

void RichEditEngine::insertPlain(QTextCursor& cursor, const QString& text) {
  cursor.insertText(fromControlText(text));
}

void RichEditEngine::onContentsChange(int pos, int removed, int added) {
  lines_.contentsChanged(pos, removed, added);
  textBytes_.contentsChanged(pos, removed, added);
  printLayout_.reset();  // laid out from the text as it was
  if (suppressModify_ == 0) modified_ = true;
  notifier_.textChanged();
}

void RichEditEngine::onViewSelectionChanged() {
  if (!settingSelection_) selectionPastMark_ = false;
  // A caret moved by anything but the typing itself ends the typing's undo step.
  if (keyEdit_ != KeyEdit::Typing) undo_.stopTyping();
  notifier_.selectionMaybeChanged();
}

void RichEditEngine::viewResized() {
  lines_.invalidateAll();
  requestResize(false);
}

}  // namespace richedit
