#pragma once
// The widget a person types into: a QTextEdit over the engine's document whose input goes
// through the engine, so that the text limit, protected text, the undo limit and the link
// notifications hold for the keyboard and mouse as they do for messages.

#include <QTextCursor>
#include <QTextEdit>
#include <functional>
#include <utility>

namespace richedit {

class RichEditEngine;

class RichEditView : public QTextEdit {
  Q_OBJECT

 public:
  explicit RichEditView(QWidget* parent);

  void setEngine(RichEditEngine* engine) { engine_ = engine; }
  // The selection stays visible without focus unless the host asked to hide it.
  void setHideSelectionWhenInactive(bool hide);
  // A strip at the left edge in which a click selects the line beside it and a double click
  // its paragraph.
  void setSelectionBar(bool on);
  // Wrapped text fills the window's width (at the zoom shown); unwrapped lines run on.
  void setWrapToWindow(bool wrap);

  // The view's zoom, numerator over denominator (0/0: none). It scales what is shown, not the
  // document: the text wraps to the window's width at that scale. Answers false for a ratio
  // outside 1/64..64 and leaves the zoom as it was (ViewZoom.cpp).
  bool setZoom(int numerator, int denominator);
  std::pair<int, int> zoomRatio() const { return {zoomNumerator_, zoomDenominator_}; }
  double zoom() const { return zoom_; }
  // Viewport points and document points, and the caret's rectangle and the position under a
  // point in the viewport, as shown at the zoom.
  QPointF toDocument(const QPointF& viewportPos) const;
  QPointF toViewport(const QPointF& documentPos) const;
  QRect caretRect(const QTextCursor& cursor) const;
  QTextCursor cursorAt(const QPoint& viewportPos) const;

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
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
  void wheelEvent(QWheelEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

  QMimeData* createMimeDataFromSelection() const override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  bool handleEditKey(QKeyEvent* event);
  // Keys that act differently in a table row (RichEditViewTable.cpp).
  bool handleTableKey(QKeyEvent* event);
  // Zoom (ViewZoom.cpp)
  bool handleZoomKey(QKeyEvent* event);
  void stepZoom(int steps);
  void applyWrap();
  void fitScrollRanges();
  void interceptTextControl();
  // Hands a mouse event to QTextEdit at the point it has in the document's units.
  void forwardMouse(QMouseEvent* event, const std::function<void(QMouseEvent*)>& handler);
  QRectF toViewRect(const QRectF& documentRect) const;
  Q_SLOT void repaintDocumentRect(const QRectF& rect);
  Q_SLOT void showDocumentRect(const QRectF& rect);
  bool refuseKeyDelete(QKeyEvent* event);
  bool refuseInputMethodEdit(const QInputMethodEvent& event);
  void startDrag();
  enum class BarClick { Press, Extend, Drag };
  void selectFromBar(int viewportY, BarClick click);
  void stepOverHidden(int from, bool extend);
  void rememberTop();
  void keepTopInPlace();
  bool mouseToHost(unsigned msg, QMouseEvent* event);
  // The host's first look at the person's input (EN_MSGFILTER); true when it took the input.
  bool hostTakesKeyPress(const QKeyEvent& event);
  bool hostTakesMouse(const QMouseEvent& event, const QPoint& viewportPos);
  void extendToWords();
  void updateSelectionColours();

  RichEditEngine* engine_ = nullptr;
  double zoom_ = 1;
  int zoomNumerator_ = 0;
  int zoomDenominator_ = 0;
  bool wrapToWindow_ = true;
  bool fittingRanges_ = false;
  QObject* textControl_ = nullptr;  // Qt's text control inside the QTextEdit
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
  bool rightClickTaken_ = false;     // the host took the right button: no context menu for it
};

}  // namespace richedit
