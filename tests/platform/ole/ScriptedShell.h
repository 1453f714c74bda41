#pragma once
// A desktop that records what the objects asked of it and answers as the test says.

#include <QString>
#include <QStringList>

#include "platform/ole/ObjectShell.h"

namespace ole::test {

class ScriptedShell : public ObjectShell {
 public:
  ScriptedShell() { setObjectShell(this); }
  ~ScriptedShell() override { setObjectShell(nullptr); }

  bool openFile(const QString& path) override {
    opened << path;
    return openSucceeds;
  }
  bool openFolder(const QString& path) override {
    folders << path;
    return true;
  }
  QString askSavePath(void*, const QString& suggestedName, const QString& why) override {
    asked << suggestedName;
    reasons << why;
    return savePath;
  }
  void showMessage(void*, const QString& text) override { messages << text; }

  QStringList opened, folders, asked, reasons, messages;
  QString savePath;
  bool openSucceeds = true;
};

}  // namespace ole::test
