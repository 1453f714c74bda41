#pragma once
// The search field above the entry tree: what the person types, the number of matching entries
// at its right end, and the indexing progress while the field is empty. Escape, Enter and the
// Down key are handed to the window.

#include <QLineEdit>
#include <functional>

class QLabel;

namespace kl {

class TSearchField : public QLineEdit {
 public:
  explicit TSearchField(QWidget* parent);

  // The number shown at the right end; empty text hides it.
  void SetCount(const QString& count);
  QString Count() const;

  std::function<void()> OnEscape;
  std::function<void()> OnEnter;
  std::function<void()> OnDown;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceCount();

  QLabel* count_ = nullptr;
};

}  // namespace kl
