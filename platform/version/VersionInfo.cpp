#include "platform/version/VersionInfo.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <string_view>

#include "platform/version/VersionRecord.h"

namespace version {

namespace {

WORD WordAt(const unsigned char* p) {
  return WORD(p[0] | p[1] << 8);
}
DWORD DwordAt(const unsigned char* p) {
  return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16 | DWORD(p[3]) << 24;
}

// The key's bytes as they stand in a file.
std::string_view KeyBytes() {
  static const std::string bytes = [] {
    std::string key;
    for (char16_t c : kVersionInfoKey) {
      key += char(c & 0xFF);
      key += char(c >> 8);
    }
    return key;
  }();
  return bytes;
}

// A whole block at record: its length covers the fixed record, whose signature is in place.
bool IsVersionBlock(const unsigned char* record, std::size_t available) {
  if (available < sizeof(VersionInfoRecord)) return false;
  const WORD length = WordAt(record);
  return length >= sizeof(VersionInfoRecord) && length <= available &&
         WordAt(record + 2) == sizeof(VS_FIXEDFILEINFO) && WordAt(record + 4) == 0 &&
         DwordAt(record + kValueOffset) == kFixedFileInfoSignature;
}

// The version block in the file: its place and length. The key alone may also stand in the
// program's text (this reader holds it), so every place the key is found is checked whole.
std::string_view FindVersionBlock(std::string_view file) {
  const std::string_view key = KeyBytes();
  for (std::size_t at = file.find(key); at != std::string_view::npos; at = file.find(key, at + 1)) {
    if (at < kKeyOffset) continue;
    const auto* record = reinterpret_cast<const unsigned char*>(file.data() + at - kKeyOffset);
    const std::size_t available = file.size() - (at - kKeyOffset);
    if (IsVersionBlock(record, available)) return file.substr(at - kKeyOffset, WordAt(record));
  }
  return {};
}

// Runs reader over the file's bytes, mapped rather than read: program files are large and the
// block is small.
template <typename Reader>
auto WithFileBytes(const std::string& fileName, Reader reader) -> decltype(reader({})) {
  QFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return reader({});
  uchar* bytes = file.map(0, file.size());
  if (!bytes) return reader({});
  const auto result =
      reader(std::string_view(reinterpret_cast<const char*>(bytes), std::size_t(file.size())));
  file.unmap(bytes);
  return result;
}

}  // namespace

DWORD GetFileVersionInfoSize(const std::string& fileName) {
  return WithFileBytes(fileName,
                       [](std::string_view file) { return DWORD(FindVersionBlock(file).size()); });
}

bool GetFileVersionInfo(const std::string& fileName, DWORD size, void* data) {
  return WithFileBytes(fileName, [&](std::string_view file) {
    const std::string_view block = FindVersionBlock(file);
    if (block.empty() || data == nullptr) return false;
    std::memcpy(data, block.data(), std::min<std::size_t>(size, block.size()));
    return true;
  });
}

bool VerQueryValue(const void* block, DWORD blockSize, const std::string& subBlock,
                   const void** value, DWORD* length) {
  if (block == nullptr || subBlock != "\\") return false;
  const auto* record = static_cast<const unsigned char*>(block);
  if (!IsVersionBlock(record, blockSize)) return false;
  if (value) *value = record + kValueOffset;
  if (length) *length = sizeof(VS_FIXEDFILEINFO);
  return true;
}

}  // namespace version
