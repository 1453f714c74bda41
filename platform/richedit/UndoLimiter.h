#pragma once
// Keeps the undo limit in force over a QTextDocument. The document cannot drop its oldest
// steps, so the limiter keeps a floor: undo never goes below the step that lies `limit`
// steps back. A limit of 0 switches undo off altogether.

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

  QTextDocument& doc_;
  int limit_ = 100;
  int floor_ = 0;
};

}  // namespace richedit
