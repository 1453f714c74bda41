// Any bytes as an index file: parsing must not crash, and what the program writes back must
// read back to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/profile/IniDocument.h"
#include "platform/profile/IniValue.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  profile::IniDocument document = profile::IniDocument::Parse(bytes);
  for (const char* section : {"Journal", "Entries"}) {
    for (const QString& key : document.KeyNames(section)) {
      Check(document.Value(section, key).has_value());
      profile::ParseInteger(key);
    }
  }

  // A write of a value taken from the input, then the file read back as written.
  const QString value = QString::fromUtf8(bytes.left(64));
  document.SetValue("Journal", "2", value);
  const profile::IniDocument reread = profile::IniDocument::Parse(document.Serialize());
  QString expected = value;
  expected.replace(QLatin1String("\r\n"), QLatin1String(" "));
  expected.replace(u'\r', u' ').replace(u'\n', u' ');
  Check(reread.Value("Journal", "2") == expected);
  Check(reread.Serialize() == document.Serialize());
  return 0;
}
