#include "store/EntryHistory.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <algorithm>
#include <cerrno>
#include <set>
#include <utility>

namespace kl {
namespace {

const QString kStampFormat = QStringLiteral("yyyyMMdd'T'HHmmss'Z'");
constexpr qsizetype kStampLength = 16;  // 20261211T134501Z

QString EntryStem(const std::string& entryFile) {
  return QFileInfo(QString::fromStdString(entryFile)).completeBaseName();
}

// "20261211T134501Z.klb", or with "-2", "-3"... when a version of that second exists.
QString FreeVersionName(const QDir& folder, const QDateTime& now) {
  const QString stamp = now.toUTC().toString(kStampFormat);
  QString name = stamp + QStringLiteral(".klb");
  for (int n = 2; folder.exists(name); ++n)
    name = stamp + QStringLiteral("-%1.klb").arg(n, 3, 10, QLatin1Char('0'));
  return name;
}

QDateTime StampOf(const QString& name) {
  QDateTime time = QDateTime::fromString(name.left(kStampLength), kStampFormat);
  time.setTimeSpec(Qt::UTC);
  return time;
}

// The place of a version among those of the same second: 1 for the first, then 2, 3...
int SequenceOf(const QString& name) {
  if (name.size() <= kStampLength || name.at(kStampLength) != u'-') return 1;
  return name.mid(kStampLength + 1).section(u'.', 0, 0).toInt();
}

TWriteOutcome CopyDurably(const QString& from, const std::string& to) {
  QFile source(from);
  if (!source.open(QIODevice::ReadOnly)) return WriteFailure(EACCES);
  const QByteArray bytes = source.readAll();
  if (source.error() != QFileDevice::NoError) return WriteFailure(EIO);
  return WriteKeptFile(to, std::string_view(bytes.constData(), std::size_t(bytes.size())));
}

}  // namespace

std::string EntryHistoryFolder(const std::string& historyFolder, const std::string& entryFile) {
  return QDir(QString::fromStdString(historyFolder)).filePath(EntryStem(entryFile)).toStdString();
}

std::vector<THistoryVersion> ListEntryVersions(const std::string& historyFolder,
                                               const std::string& entryFile) {
  const QDir folder(QString::fromStdString(EntryHistoryFolder(historyFolder, entryFile)));
  std::vector<std::pair<int, THistoryVersion>> found;
  for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.klb")}, QDir::Files)) {
    const QDateTime at = StampOf(file.fileName());
    if (!at.isValid()) continue;
    found.push_back(
        {SequenceOf(file.fileName()), {file.filePath().toStdString(), at, file.size()}});
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
    if (a.second.ReplacedAt != b.second.ReplacedAt)
      return a.second.ReplacedAt > b.second.ReplacedAt;
    return a.first > b.first;
  });
  std::vector<THistoryVersion> versions;
  for (auto& version : found) versions.push_back(std::move(version.second));
  return versions;
}

TWriteOutcome KeepEntryVersion(const std::string& historyFolder, const std::string& entryFile,
                               const QDateTime& now) {
  const QString entry = QString::fromStdString(entryFile);
  if (!QFileInfo(entry).isFile()) return {};
  const QString folderPath = QString::fromStdString(EntryHistoryFolder(historyFolder, entryFile));
  if (!QDir().mkpath(folderPath)) return WriteFailure(EACCES);
  const QDir folder(folderPath);
  const std::string version = folder.filePath(FreeVersionName(folder, now)).toStdString();
  if (::link(entryFile.c_str(), version.c_str()) == 0) return {};
  // No hard links here (another file system, or one without them): copy the bytes.
  return CopyDurably(entry, version);
}

std::vector<bool> VersionsKeptByRule(const std::vector<THistoryVersion>& newestFirst,
                                     const QDateTime& now, std::int64_t capBytes) {
  constexpr qint64 kDay = 24 * 60 * 60;
  std::vector<bool> kept(newestFirst.size(), false);
  std::set<QDate> daysSeen;
  std::set<std::pair<int, int>> monthsSeen;
  for (std::size_t i = 0; i < newestFirst.size(); ++i) {
    const QDateTime& at = newestFirst[i].ReplacedAt;
    const qint64 age = at.secsTo(now);
    const QDate day = at.toLocalTime().date();
    const std::pair<int, int> month{day.year(), day.month()};
    // Going from the newest, the first version met of a day or a month is its last one.
    if (age < kDay)
      kept[i] = true;
    else if (age < 30 * kDay)
      kept[i] = !daysSeen.count(day);
    else
      kept[i] = !monthsSeen.count(month);
    daysSeen.insert(day);
    monthsSeen.insert(month);
  }
  // The size cap takes the oldest first; the newest version stays even when it alone is larger.
  std::int64_t total = 0;
  bool newest = true;
  for (std::size_t i = 0; i < newestFirst.size(); ++i) {
    if (!kept[i]) continue;
    total += newestFirst[i].Size;
    if (!newest && total > capBytes) kept[i] = false;
    newest = false;
  }
  return kept;
}

void ThinEntryVersions(const std::string& historyFolder, const std::string& entryFile,
                       const QDateTime& now) {
  const std::vector<THistoryVersion> versions = ListEntryVersions(historyFolder, entryFile);
  const std::vector<bool> kept = VersionsKeptByRule(versions, now);
  for (std::size_t i = 0; i < versions.size(); ++i)
    if (!kept[i]) QFile::remove(QString::fromStdString(versions[i].Path));
}

}  // namespace kl
