#include "app/EntryTree.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <exception>
#include <utility>

#include "framework/Application.h"

namespace kl {

namespace {

constexpr int EntryNumberRole = Qt::UserRole;

// A mouse gesture or a finished edit has no caller to hand a failure to: the application
// reports it, and the program goes on as after any failed command.
template <typename... Args>
bool RaiseReported(Args&&... args) {
  try {
    Raise(std::forward<Args>(args)...);
    return true;
  } catch (const std::exception& failure) {
    Application().HandleException(failure);
    return false;
  }
}

// Hands the finished label to the tree's edited handler before it is stored in the node.
class TLabelDelegate : public QStyledItemDelegate {
 public:
  explicit TLabelDelegate(TEntryTree& tree) : QStyledItemDelegate(&tree), tree_(tree) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    // The platform's tree labels hold at most 259 characters while edited.
    if (auto* line = qobject_cast<QLineEdit*>(editor)) line->setMaxLength(259);
    return editor;
  }

  void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) return;
    tree_.FinishEdit(tree_.itemFromIndex(index), line->text());
  }

 private:
  TEntryTree& tree_;
};

}  // namespace

TEntryTree::TEntryTree(QWidget* parent) : QTreeWidget(parent) {
  setItemDelegate(new TLabelDelegate(*this));
}

TEntryTree::~TEntryTree() {
  ForgetFilter();
}

void TEntryTree::ShowOnly(const std::vector<int>& numbers) {
  QTreeWidgetItem* root = topLevelItem(0);
  if (!root) return;
  if (!filtered_) {
    all_ = root->takeChildren();
    byNumber_.clear();
    for (QTreeWidgetItem* node : all_) byNumber_.emplace(NodeData(node), node);
    filtered_ = true;
  } else {
    root->takeChildren();
  }
  QList<QTreeWidgetItem*> shown;
  shown.reserve(qsizetype(numbers.size()));
  for (const int number : numbers) {
    const auto node = byNumber_.find(number);
    if (node != byNumber_.end()) shown.append(node->second);
  }
  root->addChildren(shown);
  root->setExpanded(true);
}

void TEntryTree::ShowAll() {
  if (!filtered_) return;
  QTreeWidgetItem* root = topLevelItem(0);
  root->takeChildren();
  root->addChildren(all_);
  root->setExpanded(true);
  all_.clear();
  byNumber_.clear();
  filtered_ = false;
}

void TEntryTree::ForgetFilter() {
  if (!filtered_) return;
  if (QTreeWidgetItem* root = topLevelItem(0)) root->takeChildren();
  qDeleteAll(all_);
  all_.clear();
  byNumber_.clear();
  filtered_ = false;
}

int TEntryTree::NodeData(const QTreeWidgetItem* node) {
  return node ? node->data(0, EntryNumberRole).toInt() : 0;
}

void TEntryTree::SetNodeData(QTreeWidgetItem* node, int number) {
  node->setData(0, EntryNumberRole, number);
}

int TEntryTree::AbsoluteIndex(const QTreeWidgetItem* node) const {
  int index = 0;
  for (QTreeWidgetItemIterator it(const_cast<TEntryTree*>(this)); *it; ++it, ++index)
    if (*it == node) return index;
  return -1;
}

QTreeWidgetItem* TEntryTree::Selected() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? nullptr : selected.front();
}

void TEntryTree::FinishEdit(QTreeWidgetItem* node, const QString& text) {
  if (!node) return;
  std::string label = text.toStdString();
  // A rename that failed leaves the label as it was.
  if (!RaiseReported(OnEdited, this, node, label)) return;
  node->setText(0, QString::fromStdString(label));
}

void TEntryTree::mouseDoubleClickEvent(QMouseEvent* event) {
  QTreeWidget::mouseDoubleClickEvent(event);
  if (event->button() == Qt::LeftButton) RaiseReported(OnDblClick, this);
}

void TEntryTree::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && state() != QAbstractItemView::EditingState && event->modifiers() == Qt::NoModifier) {
    RaiseReported(OnDblClick, this);
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

bool TEntryTree::LabelIsCut(const QTreeWidgetItem* node) const {
  const QModelIndex index = indexFromItem(node);
  const QRect row = visualRect(index);
  if (row.isEmpty()) return false;
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = row;
  // What the delegate needs for the text alone, against what the row leaves it.
  const int needed = itemDelegate()->sizeHint(option, index).width();
  return row.left() + needed > viewport()->width();
}

bool TEntryTree::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QTreeWidgetItem* node = itemAt(help->pos());
    // A node with a tool tip of its own (the root names the journal's folder) shows that.
    if (node && node->toolTip(0).isEmpty()) {
      // While searching, an entry shows the words that matched.
      const QString hint =
          OnNodeHint && NodeData(node) > 0 ? OnNodeHint(NodeData(node)) : QString();
      if (!hint.isEmpty())
        QToolTip::showText(help->globalPos(), hint, viewport(), visualItemRect(node));
      else if (LabelIsCut(node))
        QToolTip::showText(help->globalPos(), node->text(0), viewport(), visualItemRect(node));
      else
        QToolTip::hideText();
      return true;
    }
  }
  return QTreeWidget::viewportEvent(event);
}

}  // namespace kl
