#include "framework/Application.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#include "framework/dialogs/Dialogs.h"

namespace kl {

std::string TApplication::ExeName() const {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && !path.empty()) return path.string();
  // Without /proc the Qt application knows the path from its start.
  if (QCoreApplication::instance()) return QCoreApplication::applicationFilePath().toStdString();
  return {};
}

std::string ErrorReportText(const std::string& message) {
  // A text that ends in a letter, a digit or anything else sorting after "." gets its full
  // stop; one that already ends in punctuation (or is empty) is shown as it is.
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + '.';
  return message;
}

void TApplication::HandleException(const std::exception& failure) {
  MessageRequest request;
  request.text = ErrorReportText(failure.what());
  request.caption = Title();
  request.icon = MsgIcon::Error;
  request.buttons = MsgButtons::Ok;
  request.buttonTexts = {"OK"};
  Dialogs().MessageBox(request);
}

TApplication& Application() {
  static TApplication application;
  return application;
}

}  // namespace kl
