#pragma once
// Keeps the undo limit in force over a QTextDocument. The document cannot drop its oldest
// steps, so the limiter keeps a floor: undo never goes below the step that lies `limit`
// steps back. A limit of 0 switches undo off altogether.
//
// The document counts its history in commands, and one step (a paste, a typed paragraph
// break) may hold several, so the limiter records where each step ends and keeps the floor
// on such a boundary.

#include <deque>

class QTextDocument;

namespace richedit {

class UndoLimiter {
 public:
  explicit UndoLimiter(QTextDocument& doc);

  int limit() const { return limit_; }
  void setLimit(int limit);
  void stepAdded();  // the document recorded a new step
  void clear();      // the history is emptied

  bool canUndo() const;
  bool canRedo() const;
  bool undo();
  bool redo();

  // Runs an edit that must leave no undo step (and empties the history, as the platform does).
  template <typename Edit>
  void withoutUndo(Edit&& edit) {
    suspend();
    edit();
    resume();
  }

 private:
  void suspend();
  void resume();
  void raiseFloor();

  QTextDocument& doc_;
  int limit_ = 100;
  int floor_ = 0;             // in the document's commands, always where a step ends
  std::deque<int> stepEnds_;  // the document's command count after each step, ascending
};

}  // namespace richedit
