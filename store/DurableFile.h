#pragma once
// Whole-file writes that survive a crash: the bytes go to a temporary file beside the target,
// are flushed to the disk, and only then renamed over the target, whose folder is flushed in
// turn. Killed at any moment, the target is the old file or the new one, never a mixture.
//
// Written on the POSIX calls rather than QSaveFile because the caller must tell a full disk
// from a folder that refuses writing (the autosave notice says which), and because the crash
// tests stop the program between the steps.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include <sys/types.h>

namespace kl {

// Why a write failed, in words for a notice ("disk full"); empty when it did not.
struct TWriteOutcome {
  int error = 0;  // errno of the failing call; 0 for success
  std::string reason;
  bool Ok() const { return error == 0; }
};

// The failure of a call, with its reason in the user's terms.
TWriteOutcome WriteFailure(int error);

// Replaces path with bytes, through a temporary file in the same folder.
TWriteOutcome WriteFileDurably(const std::string& path, std::string_view bytes);

// Flushes a folder's list of names (a rename or link in it) to the disk.
bool SyncFolder(const std::string& folder);

// The points between the steps of a durable write, where the crash tests stop the program.
enum class TWriteStep { TemporaryPartlyWritten, TemporaryWritten, Replaced };
using TWriteStepHook = std::function<void(TWriteStep step, const std::string& path)>;
// Called at each step of every durable write, on the thread that writes; for tests.
void SetWriteStepHook(TWriteStepHook hook);

// The write(2) the durable writes use; tests put one in that fails like a full disk.
using TWriteCall = ssize_t (*)(int fd, const void* buffer, std::size_t count);
void SetWriteCallForTesting(TWriteCall call);

}  // namespace kl
