#pragma once
// The About dialog shown at every start and by the About command: the program's name, a line
// about what it is for, and an OK button.

#include <QDialog>

namespace kl {

class TfrmAbout : public QDialog {
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);
};

}  // namespace kl
