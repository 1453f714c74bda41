#pragma once
// Takes the place of the desktop's browser for web addresses while it lives, and records every
// address it was asked to open.

#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <string>
#include <vector>

namespace kl::testing {

class UrlRecorder : public QObject {
  Q_OBJECT

 public:
  UrlRecorder() {
    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "open");
  }
  ~UrlRecorder() override {
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
  }

  const std::vector<std::string>& Opened() const { return opened_; }

 public slots:
  void open(const QUrl& url) { opened_.push_back(url.toString().toStdString()); }

 private:
  std::vector<std::string> opened_;
};

}  // namespace kl::testing
