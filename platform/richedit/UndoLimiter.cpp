#include "platform/richedit/UndoLimiter.h"

#include <QTextDocument>
#include <algorithm>

namespace richedit {

UndoLimiter::UndoLimiter(QTextDocument& doc) : doc_(doc) {
  doc_.setUndoRedoEnabled(true);
}

void UndoLimiter::setLimit(int limit) {
  limit_ = std::max(limit, 0);
  doc_.setUndoRedoEnabled(limit_ > 0);
  floor_ = std::max(floor_, doc_.availableUndoSteps() - limit_);
}

void UndoLimiter::stepAdded() {
  floor_ = std::max(floor_, doc_.availableUndoSteps() - limit_);
}

void UndoLimiter::clear() {
  doc_.clearUndoRedoStacks();
  floor_ = 0;
}

bool UndoLimiter::canUndo() const {
  return limit_ > 0 && doc_.isUndoAvailable() && doc_.availableUndoSteps() > floor_;
}

bool UndoLimiter::canRedo() const {
  return limit_ > 0 && doc_.isRedoAvailable();
}

bool UndoLimiter::undo() {
  if (!canUndo()) return false;
  doc_.undo();
  return true;
}

bool UndoLimiter::redo() {
  if (!canRedo()) return false;
  doc_.redo();
  return true;
}

void UndoLimiter::suspend() {
  doc_.setUndoRedoEnabled(false);  // this also empties the history
  floor_ = 0;
}

void UndoLimiter::resume() {
  doc_.setUndoRedoEnabled(limit_ > 0);
}

}  // namespace richedit
