#pragma once
// The application object the RTF fuzz targets need: fonts and images want one, and the headless
// platform needs no display. Qt's own warnings about hostile input are silenced.

#include <QGuiApplication>

inline void StartHeadlessQt(int* argc, char*** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(*argc, *argv);
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}
