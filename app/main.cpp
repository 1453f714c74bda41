// The program: the application titled "Kennel Logbook", its main window and the message loop.
#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  return 0;
}
