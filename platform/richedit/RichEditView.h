#pragma once
// The widget a person types into: a QTextEdit over the engine's document whose input goes
// through the engine, so that the text limit, protected text, the undo limit and the link
// notifications hold for the keyboard and mouse as they do for messages.

#include <QTextEdit>

namespace richedit {

class RichEditEngine;

class RichEditView : public QTextEdit {
 public:
  explicit RichEditView(QWidget* parent);

  void setEngine(RichEditEngine* engine) { engine_ = engine; }
  // The selection stays visible without focus unless the host asked to hide it.
  void setHideSelectionWhenInactive(bool hide);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
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
  bool mouseToHost(unsigned msg, QMouseEvent* event);
  void paintNumbering();
  void extendToWords();
  void updateSelectionColours();

  RichEditEngine* engine_ = nullptr;
  bool hideWhenInactive_ = true;
  int dragAnchor_ = -1;  // where a mouse selection started, while the button is down
};

}  // namespace richedit
