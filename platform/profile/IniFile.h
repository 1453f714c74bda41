#pragma once
// Access to one profile (INI) file by its path, with the platform's profile routines' answers:
// every read sees the file as it is on disk and every write replaces the file at once. The
// parsed file is kept while the file on disk is unchanged (same inode, size, modification and
// change times to the nanosecond), so many reads in a row parse it once.

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace profile {

class IniDocument;

// The platform's read buffers: a value comes back through 2,048 characters (the last one holds
// the terminating zero); a key list through 16,384 characters, each name followed by a zero and
// the list by one more.
constexpr std::size_t kValueBufferChars = 2048;
constexpr std::size_t kKeyListBufferChars = 16384;

// Whether a key list is cut to what the platform's key-list buffer holds.
enum class KeyListLimit { PlatformBuffer, None };

struct IniWrite {
  std::string section;
  std::string key;
  std::string value;
};

class IniFile {
 public:
  explicit IniFile(std::string path);
  ~IniFile();
  IniFile(const IniFile&) = delete;
  IniFile& operator=(const IniFile&) = delete;

  const std::string& Path() const { return path_; }

  // The value, cut to 2,047 characters, or defaultValue when the key (or the file) is missing.
  // Throws ReadError when the file exists but cannot be read.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;
  // The value as a whole number (decimal, or hexadecimal after "0x"), else defaultValue.
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  // The section's key names in file order; empty when the file or the section is missing.
  // Names that do not fit whole into the platform's buffer are left out unless limit is None.
  std::vector<std::string> ReadKeyNames(std::string_view section,
                                        KeyListLimit limit = KeyListLimit::PlatformBuffer) const;
  // The section's keys with their full values, in file order.
  std::vector<std::pair<std::string, std::string>> ReadSectionValues(
      std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Every key name of the file, in any section or none, in file order.
  std::vector<std::string> ReadAllKeyNames() const;

  // From now on the file reads as empty, and the next write replaces it with a fresh file
  // holding only what is written (a damaged file that has been copied aside).
  void StartAfresh();

  // Writes one value (an existing key in place, a new key at its section's end, a new section at
  // the file's end; a missing file is created). Throws WriteError when the file cannot be
  // replaced, ReadError when the existing file cannot be read; the file is then unchanged.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  // Writes several values in one replacement of the file: all of them land, or none.
  void WriteStrings(const std::vector<IniWrite>& writes);

  // The identity of one state of the file on disk (defined where it is taken).
  struct Stamp;

 private:
  const IniDocument& Current() const;

  std::string path_;
  mutable std::unique_ptr<IniDocument> document_;
  mutable std::unique_ptr<Stamp> stamp_;
  bool afresh_ = false;
};

}  // namespace profile
