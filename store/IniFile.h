#pragma once
// The index object: one INI file known by its path, with the reads and writes the journal makes.
// Holds nothing but the path (and the profile access's copy of the file while it is unchanged):
// every read sees the file on disk, every write replaces it at once. Failures are
// kl::Exception with the text the program shows ("Unable to write to <path>").

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace profile {
class IniFile;
}

namespace kl {

struct TIniWrite {
  std::string Section;
  std::string Key;
  std::string Value;
};

class TIniFile {
 public:
  explicit TIniFile(const std::string& fileName);
  ~TIniFile();
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const;

  // Every key name of the section, in file order; empty when the file or section is missing.
  // Unlike the platform's fixed key-list buffer this never leaves names out, so a journal of
  // thousands of entries still lists all of them.
  std::vector<std::string> ReadSection(const std::string& section) const;
  // The value, cut to 2,047 characters, or defaultValue when missing.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // The value as a whole number (decimal, or hexadecimal after "0x"), else defaultValue.
  int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
  // The section's keys with their full values, in file order.
  std::vector<std::pair<std::string, std::string>> ReadSectionValues(
      const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  // Every key name of the file, in any section (a repeated one too) or before the first one.
  std::vector<std::string> ReadAllKeyNames() const;
  // The file reads as empty from now on, and the next write replaces it with a fresh file.
  void StartAfresh();

  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  // Several values in one replacement of the file: all of them are written, or none.
  void WriteStrings(const std::vector<TIniWrite>& writes);

 private:
  std::unique_ptr<profile::IniFile> file_;
};

}  // namespace kl
