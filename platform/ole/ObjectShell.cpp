#include "platform/ole/ObjectShell.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>

namespace ole {

namespace {

class DesktopShell final : public ObjectShell {
 public:
  bool openFile(const QString& path) override {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  }
  bool openFolder(const QString& path) override {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
  }
  QString askSavePath(void* parent, const QString& suggestedName, const QString& why) override {
    if (!why.isEmpty()) showMessage(parent, why);
    return QFileDialog::getSaveFileName(static_cast<QWidget*>(parent),
                                        QStringLiteral("Save Copy As"), suggestedName);
  }
  void showMessage(void* parent, const QString& text) override {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Kennel Logbook"), text, QMessageBox::Ok,
                    static_cast<QWidget*>(parent));
    box.exec();
  }
};

ObjectShell* installed = nullptr;

}  // namespace

ObjectShell& objectShell() {
  static DesktopShell desktop;
  return installed ? *installed : desktop;
}

void setObjectShell(ObjectShell* shell) {
  installed = shell;
}

}  // namespace ole
