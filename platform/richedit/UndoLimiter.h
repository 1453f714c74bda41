#pragma once
// Keeps the undo limit in force over a QTextDocument. The document cannot drop its oldest
// steps, so the limiter keeps a floor: undo never goes below the step that lies `limit`
// steps back. A limit of 0 switches undo off altogether.
//
// The document counts its history in commands, and one step (a paste, a typed paragraph
// break) may hold several, so the limiter records where each step ends and keeps the floor
// on such a boundary. A person's typing is one step however many keys it takes: what is
// typed joins the typing before it until stopTyping, and undo and redo take whole steps.

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

  // Brackets one typed key (or input method commit); its steps join an open typing group.
  void typingStarts() { typing_ = true; }
  void typingEnds() { typing_ = false; }
  // The next thing typed starts a step of its own.
  void stopTyping() { groupOpen_ = false; }

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
  bool typing_ = false;       // a typed key is being applied
  bool groupOpen_ = false;    // the last step is typing that the next typed key may join
};

}  // namespace richedit
