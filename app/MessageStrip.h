#pragma once
// A strip above the editor that tells of a problem without stopping the user: one line of text
// and a button that hides it. It never takes the keyboard focus.

#include <QWidget>
#include <string>

class QLabel;
class QToolButton;

namespace kl {

class TMessageStrip : public QWidget {
 public:
  explicit TMessageStrip(QWidget* parent = nullptr);

  // Shows the text, replacing the one shown: one notice at a time.
  void ShowNotice(const std::string& text);
  void HideNotice();
  // The notice shown; empty while the strip is hidden.
  std::string Notice() const;

 private:
  QLabel* text_ = nullptr;
  QToolButton* close_ = nullptr;
};

}  // namespace kl
