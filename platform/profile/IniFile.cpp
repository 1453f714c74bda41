#include "platform/profile/IniFile.h"

#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "platform/files/DurableFile.h"
#include "platform/files/FileError.h"

#include "platform/profile/IniDocument.h"
#include "platform/profile/IniValue.h"
#include "platform/profile/ProfileError.h"

namespace profile {

// What tells one state of the file on disk from another. A rewrite in place within the same
// second changes the nanosecond times; a replacement by rename changes the inode.
struct IniFile::Stamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};
  timespec changed{};

  bool operator==(const Stamp& other) const {
    return exists == other.exists && device == other.device && inode == other.inode &&
           size == other.size && modified.tv_sec == other.modified.tv_sec &&
           modified.tv_nsec == other.modified.tv_nsec && changed.tv_sec == other.changed.tv_sec &&
           changed.tv_nsec == other.changed.tv_nsec;
  }
};

namespace {

QString ToQ(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void TakeStamp(const std::string& path, IniFile::Stamp& stamp) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return;
    throw ReadError(path);
  }
  // A folder or a device in the file's place is no profile to read, nor one to replace.
  if (!S_ISREG(info.st_mode)) throw ReadError(path);
  stamp.exists = true;
  stamp.device = info.st_dev;
  stamp.inode = info.st_ino;
  stamp.size = info.st_size;
  stamp.modified = info.st_mtim;
  stamp.changed = info.st_ctim;
}

// A plain refusal needs no reason beside "Unable to write to"; a full or failing disk does.
bool IsRefusal(int code) {
  return code == EACCES || code == EPERM || code == EROFS || code == ENOENT || code == ENOTDIR;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

IniFile::~IniFile() = default;

const IniDocument& IniFile::Current() const {
  if (afresh_) return *document_;
  auto stamp = std::make_unique<Stamp>();
  TakeStamp(path_, *stamp);
  if (document_ && stamp_ && *stamp_ == *stamp) return *document_;

  QByteArray bytes;
  if (stamp->exists) {
    QFile file(QString::fromStdString(path_));
    if (!file.open(QIODevice::ReadOnly)) throw ReadError(path_);
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) throw ReadError(path_);
  }
  document_ = std::make_unique<IniDocument>(IniDocument::Parse(bytes));
  stamp_ = std::move(stamp);
  return *document_;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  const std::optional<QString> value = Current().Value(ToQ(section), ToQ(key));
  const QString text = value ? *value : ToQ(defaultValue);
  return CutToBuffer(text, kValueBufferChars - 1).toStdString();
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const std::optional<QString> value = Current().Value(ToQ(section), ToQ(key));
  if (!value) return defaultValue;
  return ParseInteger(CutToBuffer(*value, kValueBufferChars - 1)).value_or(defaultValue);
}

std::vector<std::string> IniFile::ReadKeyNames(std::string_view section, KeyListLimit limit) const {
  const QStringList names = Current().KeyNames(ToQ(section));
  std::vector<std::string> result;
  result.reserve(std::size_t(names.size()));
  std::size_t used = 1;  // the zero that ends the list
  for (const QString& name : names) {
    used += std::size_t(name.size()) + 1;
    if (limit == KeyListLimit::PlatformBuffer && used > kKeyListBufferChars) break;
    result.push_back(name.toStdString());
  }
  return result;
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionValues(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> result;
  for (const auto& [key, value] : Current().Entries(ToQ(section))) {
    result.emplace_back(key.toStdString(), value.toStdString());
  }
  return result;
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
  return Current().Value(ToQ(section), ToQ(key)).has_value();
}

std::vector<std::string> IniFile::ReadAllKeyNames() const {
  std::vector<std::string> result;
  for (const QString& name : Current().AllKeyNames()) result.push_back(name.toStdString());
  return result;
}

void IniFile::StartAfresh() {
  document_ = std::make_unique<IniDocument>();
  stamp_.reset();
  afresh_ = true;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  WriteStrings({IniWrite{std::string(section), std::string(key), std::string(value)}});
}

void IniFile::WriteStrings(const std::vector<IniWrite>& writes) {
  IniDocument changed = Current();
  for (const IniWrite& write : writes) {
    changed.SetValue(ToQ(write.section), ToQ(write.key), ToQ(write.value));
  }
  const QByteArray bytes = changed.Serialize();

  // A temporary file beside the index, flushed to disk and renamed over it: a crash or a full
  // disk leaves either the old index or the new one, never half of one.
  try {
    files::WriteFileDurably(path_, std::string_view(bytes.constData(), std::size_t(bytes.size())));
  } catch (const files::FileError& failure) {
    throw WriteError(path_,
                     IsRefusal(failure.Code()) ? std::string() : files::ReasonOf(failure.Code()));
  }

  auto stamp = std::make_unique<Stamp>();
  try {
    TakeStamp(path_, *stamp);
  } catch (const ReadError&) {
    stamp.reset();  // the next read looks at the file again
  }
  document_ = std::make_unique<IniDocument>(std::move(changed));
  stamp_ = std::move(stamp);
  afresh_ = false;
}

}  // namespace profile
