#pragma once
// What an object's verbs need from the desktop: opening a file with the application the
// desktop gives it, showing a folder, asking where to save a copy, and telling the person why
// something was not done. The program uses the desktop's; tests install a scripted one.

#include <QString>

namespace ole {

class ObjectShell {
 public:
  virtual ~ObjectShell() = default;
  virtual bool openFile(const QString& path) = 0;
  virtual bool openFolder(const QString& path) = 0;
  // The path to save a copy at, or empty when the person cancelled; `why` says what for.
  virtual QString askSavePath(void* parent, const QString& suggestedName, const QString& why) = 0;
  virtual void showMessage(void* parent, const QString& text) = 0;
};

ObjectShell& objectShell();
// Replaces the desktop's (tests); none puts the desktop's back. Not owned.
void setObjectShell(ObjectShell* shell);

}  // namespace ole
