// make-rtf-shape SHAPE BYTES OUTPUT: writes a generated RTF document of one of the shapes in
// RtfShapes.h, for measuring the converter and the program on it.
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>

#include "RtfShapes.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make-rtf-shape SHAPE BYTES OUTPUT\n  SHAPE:");
    for (const auto& info : bench::allShapes()) std::fprintf(stderr, " %s", info.name);
    std::fprintf(stderr, "\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // the picture shape encodes PNG
  for (const auto& info : bench::allShapes()) {
    if (std::strcmp(info.name, argv[1]) != 0) continue;
    const QByteArray rtf = bench::makeShape(info.shape, std::atoll(argv[2]));
    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size()) {
      std::fprintf(stderr, "make-rtf-shape: cannot write %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  std::fprintf(stderr, "make-rtf-shape: unknown shape %s\n", argv[1]);
  return 2;
}
