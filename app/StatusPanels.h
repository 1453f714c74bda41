#pragma once
// The status bar: a row of sunken text panels of fixed widths, left to right, and a size grip.
// It shows only what the window writes into its panels, never hints.

#include <QWidget>
#include <string>
#include <vector>

class QLabel;

namespace kl {

class TStatusPanels : public QWidget {
 public:
  TStatusPanels(const std::vector<int>& widths, QWidget* parent);

  int Count() const { return int(panels_.size()); }
  std::string Text(int panel) const;
  void SetText(int panel, const std::string& text);
  QLabel* Panel(int panel) const { return panels_[std::size_t(panel)]; }

  static constexpr int BarHeight = 19;

 private:
  std::vector<QLabel*> panels_;
};

}  // namespace kl
