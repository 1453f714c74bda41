#pragma once
// The entry tree: nodes whose labels can be edited in place (F2, or a slow second click on the
// selected node). When an edit is finished the window's handler sees the new label and may
// change it; what it leaves becomes the node's text. Enter on a node opens it as a double-click
// does, and a label cut short by the pane's width shows whole as a tool tip.

#include <QTreeWidget>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/Object.h"

namespace kl {

using TTVEditedEvent = std::function<void(TObject* Sender, QTreeWidgetItem* Node, std::string& S)>;

class TEntryTree : public QTreeWidget, public TObject {
 public:
  explicit TEntryTree(QWidget* parent);

  ~TEntryTree() override;

  // Raised by a double-click and by Enter on a node that is not being edited.
  TNotifyEvent OnDblClick;
  TTVEditedEvent OnEdited;
  // The tooltip of an entry node, asked for when the pointer rests on it; empty for none.
  std::function<QString(int number)> OnNodeHint;

  // Lists under the root only the entries of numbers, in that order; entries the tree does not
  // hold are left out. The others are kept aside until ShowAll.
  void ShowOnly(const std::vector<int>& numbers);
  // Lists every entry again, in the order they were added.
  void ShowAll();
  bool Filtered() const { return filtered_; }
  // Discards the entries kept aside, before the tree is filled again.
  void ForgetFilter();

  // The node's entry number, 0 for the root and for nodes without one.
  static int NodeData(const QTreeWidgetItem* node);
  static void SetNodeData(QTreeWidgetItem* node, int number);
  // The node's position counting every node from the top, the root being 0.
  int AbsoluteIndex(const QTreeWidgetItem* node) const;
  QTreeWidgetItem* Selected() const;

  // Finishes an in-place edit of the node with the given text, as the user's Enter does.
  void FinishEdit(QTreeWidgetItem* node, const QString& text);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  // Whether the node's label is drawn cut short in its row.
  bool LabelIsCut(const QTreeWidgetItem* node) const;

  bool filtered_ = false;
  QList<QTreeWidgetItem*> all_;  // every entry node, in order, while filtered
  std::map<int, QTreeWidgetItem*> byNumber_;
};

}  // namespace kl
