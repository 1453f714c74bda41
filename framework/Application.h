#pragma once
// The application object: its title (the caption of plain message boxes) and the general
// error report for failures that escape an event handler.

#include <exception>
#include <string>

namespace kl {

class TApplication {
 public:
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Full path of the running program's file (from /proc/self/exe).
  std::string ExeName() const;

  // Shows the failure's text (plus "." when its last character sorts after ".") in a message
  // box with an error icon, captioned with the title.
  void HandleException(const std::exception& failure);

 private:
  std::string title_;
};

TApplication& Application();

// The text the error report shows for a failure's message: the message, followed by "." when
// its last character sorts after ".".
std::string ErrorReportText(const std::string& message);

}  // namespace kl
