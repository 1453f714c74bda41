// show-rtf FILE: opens an RTF file in the editor control as the program shows an entry (shown,
// painted, the caret's line asked for) and exits; for measuring time and peak memory with
// /usr/bin/time.
#include <QApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

#include "platform/richedit/ByteArraySource.h"
#include "platform/richedit/RichEditControl.h"

using namespace richedit;

namespace {}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: show-rtf FILE\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  QApplication app(argc, argv);
  QByteArray data;
  {
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadOnly)) {
      std::fprintf(stderr, "show-rtf: cannot read %s\n", argv[1]);
      return 1;
    }
    data = file.readAll();
  }
  RichEditControl control(WS_VSCROLL | ES_MULTILINE);
  control.resize(700, 500);
  control.show();
  control.Perform(EM_EXLIMITTEXT, 0, 0x7ffffffe);
  ByteArraySource source(data);
  EDITSTREAM in = source.stream();
  control.Perform(EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&in));
  data = QByteArray();  // the program keeps no copy of the file once it is read
  control.Perform(EM_EXLINEFROMCHAR, 0, 0);
  control.repaint();
  QApplication::processEvents();
  return in.dwError == 0 ? 0 : 1;
}
