// The keys of a table row: Tab and Shift+Tab move the caret between cells (in the last or the
// first cell they do nothing), Enter starts a new line inside the cell or, at the row's end, a
// paragraph after the row, and Backspace at a cell's start or Delete at its end stop there
// rather than take the separator and run two cells together.

#include <QKeyEvent>
#include <QTextBlock>

#include "platform/richedit/RichEditEngine.h"
#include "platform/richedit/RichEditView.h"
#include "platform/richedit/document/TableFormat.h"

namespace richedit {

namespace {
constexpr WPARAM VK_RETURN = 0x0D;
}  // namespace

bool RichEditView::handleTableKey(QKeyEvent* event) {
  const QTextCursor caret = textCursor();
  const QTextBlock block = caret.block();
  if (engine_ == nullptr || !fmt::isTableRow(block.blockFormat())) return false;
  const QString text = block.text();
  const int cells = fmt::cellCountOf(block.blockFormat(), text);
  const int at = caret.position() - block.position();
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  const int key = event->key();

  if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
    if (mods & ~Qt::ShiftModifier) return false;
    const bool back = key == Qt::Key_Backtab || (mods & Qt::ShiftModifier);
    const int target = fmt::neighbourCellStart(text, cells, at, back ? -1 : 1);
    if (target >= 0) {
      QTextCursor moved = caret;
      moved.setPosition(block.position() + target);
      setTextCursor(moved);
    }
    return true;
  }
  if (isReadOnly() || caret.hasSelection() || mods != Qt::NoModifier) return false;

  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    const bool rowEnd = at == text.size();
    const QChar typed = rowEnd ? QChar(QChar::ParagraphSeparator) : QChar(QChar::LineSeparator);
    if (!engine_->allowTyping(QString(typed), WM_CHAR, VK_RETURN)) return true;
    engine_->applyKey(RichEditEngine::KeyEdit::Typing, [&] {
      QTextCursor edit = textCursor();
      if (rowEnd)
        edit.insertBlock(QTextBlockFormat(), edit.charFormat());  // a paragraph, not a row
      else
        edit.insertText(QString(typed));
      setTextCursor(edit);
    });
    return true;
  }
  if (key == Qt::Key_Backspace) return fmt::isCellStart(text, cells, at);
  if (key == Qt::Key_Delete)
    return at < text.size() && text[at] == u'\t' && fmt::isCellStart(text, cells, at + 1);
  return false;
}

}  // namespace richedit
