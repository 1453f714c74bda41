#pragma once
// What became of a write of the journal keeper, in words for a notice: the keeper writes on its
// own thread and never shows a message box, so a failure is handed back as a value
// ("disk full", "the folder cannot be written") for the window to show where it does not stop
// the user.

#include <string>
#include <string_view>

namespace kl {

struct TWriteOutcome {
  int error = 0;  // the system's error number; 0 for success
  std::string reason;
  bool Ok() const { return error == 0; }
};

// The outcome for a system error number.
TWriteOutcome WriteFailure(int error);

// Replaces path with bytes through the program's one durable road (a temporary file beside it,
// flushed, renamed over it, the folder flushed): killed at any moment, the file is the old one
// or the new one.
TWriteOutcome WriteKeptFile(const std::string& path, std::string_view bytes);

// Flushes a folder's list of names (a link made in it) to the disk.
bool SyncFolder(const std::string& folder);

}  // namespace kl
