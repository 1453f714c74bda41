#include "platform/shell/Shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace shell {

bool ShellOpen(const std::string& target) {
  const QUrl url = QUrl::fromUserInput(QString::fromStdString(target));
  if (!url.isValid()) return false;
  // The desktop starts its launcher (xdg-open) detached: the window never waits on the browser.
  return QDesktopServices::openUrl(url);
}

}  // namespace shell
