#pragma once
// The shell's "open" verb: hands a web address or a document to the desktop, which opens it in
// the program the user chose for it (the web browser for an address).

#include <string>

namespace shell {

// Starts the desktop's launcher for target and returns at once, without waiting for the
// browser. True when a launcher was started; false when none could be (no desktop, no browser).
bool ShellOpen(const std::string& target);

}  // namespace shell
