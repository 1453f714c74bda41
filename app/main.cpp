// The program: the application titled "Kennel Logbook", its main window and the message loop.
#include <QApplication>
#include <exception>

#include "app/MainForm.h"
#include "framework/Application.h"
#include "platform/version/VersionRecord.h"

// The version the About dialog shows, read back from this program's own file.
KL_DEFINE_VERSION_RECORD(KL_VERSION_MAJOR, KL_VERSION_MINOR, KL_VERSION_PATCH, KL_VERSION_TWEAK);

namespace {

// The last line of defence: a failure that escapes an event handler is shown by the
// application's error report and the program carries on, rather than ending with the user's
// unsaved words.
class TKennelApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (const std::exception& failure) {
      kl::Application().HandleException(failure);
      return true;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  TKennelApplication app(argc, argv);
  // The title lives in the application object; Qt's display name would be appended to every
  // window caption.
  kl::Application().SetTitle("Kennel Logbook");
  kl::TfrmMain frmMain;
  frmMain.show();
  app.exec();
  return 0;
}
