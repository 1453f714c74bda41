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
  if (typing_ && groupOpen_ && !stepEnds_.empty()) {
    stepEnds_.back() = now;  // more of the same typing
  } else {
    stepEnds_.push_back(now);
  }
  groupOpen_ = typing_;
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
  groupOpen_ = false;
}

bool UndoLimiter::canUndo() const {
  return limit_ > 0 && doc_.isUndoAvailable() && doc_.availableUndoSteps() > floor_;
}

bool UndoLimiter::canRedo() const {
  return limit_ > 0 && doc_.isRedoAvailable();
}

// Undoes the document's commands back to where the step before this one ended.
bool UndoLimiter::undo() {
  if (!canUndo()) return false;
  groupOpen_ = false;
  const int now = doc_.availableUndoSteps();
  int target = floor_;
  for (const int end : stepEnds_) {
    if (end < now) target = std::max(target, end);
  }
  for (int before = now;;) {
    doc_.undo();
    const int after = doc_.availableUndoSteps();
    if (after <= target || after >= before || !doc_.isUndoAvailable()) break;
    before = after;
  }
  return true;
}

// Redoes the document's commands up to where the next step ends.
bool UndoLimiter::redo() {
  if (!canRedo()) return false;
  groupOpen_ = false;
  const int now = doc_.availableUndoSteps();
  const auto next = std::upper_bound(stepEnds_.begin(), stepEnds_.end(), now);
  const int target = next != stepEnds_.end() ? *next : now + 1;
  for (int before = now;;) {
    doc_.redo();
    const int after = doc_.availableUndoSteps();
    if (after >= target || after <= before || !doc_.isRedoAvailable()) break;
    before = after;
  }
  return true;
}

void UndoLimiter::suspend() {
  doc_.setUndoRedoEnabled(false);  // this also empties the history
  stepEnds_.clear();
  floor_ = 0;
  groupOpen_ = false;
}

void UndoLimiter::resume() {
  doc_.setUndoRedoEnabled(limit_ > 0);
}

}  // namespace richedit
