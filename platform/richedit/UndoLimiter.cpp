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
  if (limit_ == 0) {
    stepEnds_.clear();
    floor_ = 0;
    return;
  }
  raiseFloor();
}

void UndoLimiter::stepAdded() {
  // A new step drops the steps that could have been redone.
  const int now = doc_.availableUndoSteps();
  while (!stepEnds_.empty() && stepEnds_.back() >= now) stepEnds_.pop_back();
  stepEnds_.push_back(now);
  raiseFloor();
}

// The floor goes up to the end of the step that lies `limit` steps below the present one.
void UndoLimiter::raiseFloor() {
  const int now = doc_.availableUndoSteps();
  const auto done = std::upper_bound(stepEnds_.begin(), stepEnds_.end(), now);
  const auto undoable = done - stepEnds_.begin();
  if (undoable > limit_) floor_ = std::max(floor_, *(done - 1 - limit_));
  // Steps below the floor can never be undone again.
  while (!stepEnds_.empty() && stepEnds_.front() < floor_) stepEnds_.pop_front();
}

void UndoLimiter::clear() {
  doc_.clearUndoRedoStacks();
  stepEnds_.clear();
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
  stepEnds_.clear();
  floor_ = 0;
}

void UndoLimiter::resume() {
  doc_.setUndoRedoEnabled(limit_ > 0);
}

}  // namespace richedit
