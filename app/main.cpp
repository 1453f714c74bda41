// The program: the application titled "Kennel Logbook", its main window and the message loop.
#include <QApplication>

#include "app/MainForm.h"
#include "framework/Application.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The title lives in the application object; Qt's display name would be appended to every
  // window caption.
  kl::Application().SetTitle("Kennel Logbook");
  kl::TfrmMain frmMain;
  frmMain.show();
  app.exec();
  return 0;
}
