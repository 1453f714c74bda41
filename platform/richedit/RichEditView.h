#pragma once
// The widget a person types into: a QTextEdit over the engine's document whose input goes
// through the engine, so that the text limit, protected text, the undo limit and the link
// notifications hold for the keyboard and mouse as they do for messages.

#include <QTextCursor>
#include <QTextEdit>
#include <utility>

namespace richedit {

class RichEditEngine;

class RichEditView : public QTextEdit {
 public:
  explicit RichEditView(QWidget* parent);

  void setEngine(RichEditEngine* engine) { engine_ = engine; }
  // The selection stays visible without focus unless the host asked to hide it.
  void setHideSelectionWhenInactive(bool hide);
  // A strip at the left edge in which a click selects the line beside it and a double click
  // its paragraph.
  void setSelectionBar(bool on);

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  bool handleEditKey(QKeyEvent* event);
  bool refuseKeyDelete(QKeyEvent* event);
  bool refuseInputMethodEdit(const QInputMethodEvent& event);
  void startDrag();
  enum class BarClick { Press, Extend, Drag };
  void selectFromBar(int viewportY, BarClick click);
  void stepOverHidden(int from, bool extend);
  void rememberTop();
  void keepTopInPlace();
  bool mouseToHost(unsigned msg, QMouseEvent* event);
  void extendToWords();
  void updateSelectionColours();

  RichEditEngine* engine_ = nullptr;
  bool hideWhenInactive_ = true;
  bool selectionBar_ = false;
  bool barDrag_ = false;  // the button went down in the selection bar and is still down
  bool barDragParagraphs_ = false;
  std::pair<int, int> barFirst_{0, 0};  // the line the bar selection started with
  QTextCursor top_;                     // the paragraph shown at the top (see keepTopInPlace)
  double topOffset_ = 0;
  bool restoringTop_ = false;
  int dragAnchor_ = -1;              // where a mouse selection started, while the button is down
  QPoint pressInSelection_{-1, -1};  // a press that may start dragging the selection
};

}  // namespace richedit
