#pragma once
// The About dialog, shown at every start and by the About command: the program's name and
// version, the maker's logo and address, a link to the training course the maker recommends,
// and the copyright notice. The logo, the address and the course link open the maker's pages.

#include <QDialog>
#include <cstdint>

#include "framework/Object.h"

class QLabel;
class QPushButton;

namespace kl {

class TClickLabel;

class TfrmAbout : public QDialog, public TObject {
 public:
  explicit TfrmAbout(QWidget* parent = nullptr);

  QLabel* lblAppName = nullptr;
  TClickLabel* imgLogos = nullptr;
  TClickLabel* lblURL = nullptr;
  TClickLabel* lblRecommended = nullptr;
  QLabel* lblCopyright = nullptr;
  QPushButton* btnOk = nullptr;

  // Key is the platform's virtual-key code of the key released (27 for Escape).
  void FormKeyUp(TObject* Sender, std::uint16_t& Key);
  void imgLogosClick(TObject* Sender);
  void lblRecommendedClick(TObject* Sender);

  static constexpr int ClientWidth = 335;
  static constexpr int ClientHeight = 249;
  static constexpr int ModalCancel = 2;

 protected:
  // Key preview: the form sees every key released in it before the focused control does.
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Escape closes the form when it is released, not when it goes down.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void BuildControls();
};

// Creates the About dialog, fills in the program's name, version and copyright, shows it
// modally and discards it. A failure is reported as "ShowAbout: Error - ..." and the routine
// returns normally.
void ShowAbout();

}  // namespace kl
