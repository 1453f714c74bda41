#pragma once
// The one failure type of the program: every failure carries a message meant for the user.

#include <stdexcept>
#include <string>

namespace kl {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

}  // namespace kl
