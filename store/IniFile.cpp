#include "store/IniFile.h"

#include <stdexcept>

#include "framework/Exception.h"
#include "platform/profile/IniFile.h"

namespace kl {
namespace {

// The profile access reports in its own terms; the program's failures are kl::Exception.
template <typename Operation>
auto Guarded(Operation&& operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const kl::Exception&) {
    throw;
  } catch (const std::exception& failure) {
    throw kl::Exception(failure.what());
  }
}

}  // namespace

TIniFile::TIniFile(const std::string& fileName)
    : file_(std::make_unique<profile::IniFile>(fileName)) {}

TIniFile::~TIniFile() = default;

const std::string& TIniFile::FileName() const {
  return file_->Path();
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const {
  return Guarded([&] { return file_->ReadKeyNames(section, profile::KeyListLimit::None); });
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const {
  return Guarded([&] { return file_->ReadString(section, key, defaultValue); });
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key,
                          int defaultValue) const {
  return Guarded([&] { return file_->ReadInteger(section, key, defaultValue); });
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(
    const std::string& section) const {
  return Guarded([&] { return file_->ReadSectionValues(section); });
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return Guarded([&] { return file_->ValueExists(section, key); });
}

std::vector<std::string> TIniFile::ReadAllKeyNames() const {
  return Guarded([&] { return file_->ReadAllKeyNames(); });
}

void TIniFile::StartAfresh() {
  file_->StartAfresh();
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  Guarded([&] { file_->WriteString(section, key, value); });
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteStrings(const std::vector<TIniWrite>& writes) {
  std::vector<profile::IniWrite> converted;
  converted.reserve(writes.size());
  for (const TIniWrite& write : writes)
    converted.push_back({write.Section, write.Key, write.Value});
  Guarded([&] { file_->WriteStrings(converted); });
}

}  // namespace kl
