#pragma once
// A file written so that it is on the disk or the write failed: the bytes go to a temporary
// file of ours beside the target, are flushed to the disk with the result checked, and only
// then does the temporary file take the target's name; the folder is flushed after the rename
// so that the new name survives a power cut too. A write that fails at any step leaves the old
// file whole and removes the temporary one.
//
// Written by hand: Qt's QSaveFile ignores a failed flush and replaces the old file anyway.

#include <chrono>
#include <string>
#include <string_view>

namespace files {

class DurableFile {
 public:
  // Creates the temporary file beside path. Throws FileError ("Cannot create file ...").
  explicit DurableFile(std::string path);
  // Removes the temporary file unless Commit put it in place.
  ~DurableFile();
  DurableFile(const DurableFile&) = delete;
  DurableFile& operator=(const DurableFile&) = delete;

  const std::string& Path() const { return path_; }
  const std::string& TemporaryPath() const { return temporary_; }

  // Throws FileError ("Cannot write file ...") when the system takes less than all of it.
  void Write(const void* data, std::size_t size);
  void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
  // Flushes, closes and renames over the target, then flushes the folder. Throws FileError;
  // the target is then untouched, unless only the folder's flush failed (the new file is in
  // place but may not survive a power cut, so the save is still reported as failed).
  void Commit();

 private:
  void Abandon();

  std::string path_;
  std::string temporary_;
  int fd_ = -1;
  bool committed_ = false;
};

// Writes the whole file durably in one go. Throws FileError.
void WriteFileDurably(const std::string& path, std::string_view bytes);

// Whether a file name is one of our temporary files (".<name>.klsave-XXXXXX"). Such a file is
// never an entry, whatever its name holds.
bool IsTemporaryFileName(std::string_view name);

// Removes our temporary files in the folder that were last written more than maxAge ago: they
// are what a program killed between writing and renaming left behind. Younger ones may belong
// to another copy of the program that is writing right now. Answers how many were removed;
// a folder that cannot be read removes nothing.
int RemoveStaleTemporaryFiles(const std::string& folder,
                              std::chrono::seconds maxAge = std::chrono::hours(1));

}  // namespace files
