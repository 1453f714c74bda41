#pragma once
// The rebar of the top panel: bands stacked in rows, each with a grip at its left.

#include <QWidget>

class QVBoxLayout;

namespace kl {

class TCoolBar : public QWidget {
 public:
  explicit TCoolBar(QWidget* parent);

  // Adds a band holding the control, with the band's minimum height.
  void AddBand(QWidget* control, int minHeight);

  static constexpr int GripWidth = 9;

 private:
  QVBoxLayout* rows_;
};

}  // namespace kl
