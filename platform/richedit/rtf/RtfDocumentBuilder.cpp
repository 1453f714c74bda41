#include "platform/richedit/rtf/RtfDocumentBuilder.h"

#include <QTextImageFormat>

namespace richedit::rtf {

namespace {
constexpr qsizetype kRunLimit = 1 << 16;  // long runs go in pieces to keep the buffer small
}

RtfDocumentBuilder::RtfDocumentBuilder(QTextCursor& cursor)
    : cursor_(cursor), tailFormat_(cursor.blockFormat()) {
  run_.reserve(1024);
}

void RtfDocumentBuilder::setFormat(const QTextCharFormat& format) {
  if (!run_.isEmpty()) flushRun();
  format_ = format;
}

void RtfDocumentBuilder::appendText(const QString& text) {
  if (text.isEmpty()) return;
  placePendingBreak();
  run_ += text;
  if (run_.size() >= kRunLimit) flushRun();
}

void RtfDocumentBuilder::appendText(QChar c) {
  placePendingBreak();
  run_ += c;
}

void RtfDocumentBuilder::appendObject(const QTextImageFormat& format) {
  placePendingBreak();
  flushRun();
  cursor_.insertImage(format);
}

void RtfDocumentBuilder::endParagraph(const QTextBlockFormat& block, const QTextCharFormat& mark) {
  placePendingBreak();
  flushRun();
  cursor_.setBlockFormat(block);
  breakPending_ = true;
  pendingMark_ = mark;
}

void RtfDocumentBuilder::finish(FinalBreak finalBreak) {
  flushRun();
  if (finalBreak == FinalBreak::Keep) placePendingBreak();
  breakPending_ = false;
}

void RtfDocumentBuilder::flushRun() {
  if (run_.isEmpty()) return;
  cursor_.insertText(run_, format_);
  run_.truncate(0);  // keeps the buffer for the next run
}

void RtfDocumentBuilder::placePendingBreak() {
  if (!breakPending_) return;
  breakPending_ = false;
  cursor_.insertBlock(tailFormat_, pendingMark_);
}

}  // namespace richedit::rtf
