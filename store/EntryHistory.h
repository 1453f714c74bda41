#pragma once
// The history of entries: before a save rewrites an entry file, the file as it was is kept as a
// version in "Journals/.history/<entry file name>/", named with the time (UTC) it was replaced.
// A rule thins the versions: every one of the last 24 hours, the last of each day for 30 days,
// the last of each month before that, and never more than 50 MB for one entry (the newest
// version always stays).

#include <QDateTime>
#include <cstdint>
#include <string>
#include <vector>

#include "store/WriteOutcome.h"

namespace kl {

struct THistoryVersion {
  std::string Path;
  QDateTime ReplacedAt;  // UTC
  std::int64_t Size = 0;
};

constexpr std::int64_t kHistoryCapBytes = 50LL * 1024 * 1024;

// The folder of one entry's versions under the history folder.
std::string EntryHistoryFolder(const std::string& historyFolder, const std::string& entryFile);

// The versions kept for an entry, newest first.
std::vector<THistoryVersion> ListEntryVersions(const std::string& historyFolder,
                                               const std::string& entryFile);

// Keeps the entry file as it is now as its newest version, replaced at `now`. A hard link when
// the file system allows it (the save that follows renames a new file over the entry, so the
// link keeps the old bytes without copying them), a durable copy otherwise. A missing entry
// file keeps nothing and succeeds.
TWriteOutcome KeepEntryVersion(const std::string& historyFolder, const std::string& entryFile,
                               const QDateTime& now);

// For versions given newest first: whether the rule keeps each one at `now`.
std::vector<bool> VersionsKeptByRule(const std::vector<THistoryVersion>& newestFirst,
                                     const QDateTime& now,
                                     std::int64_t capBytes = kHistoryCapBytes);

// Removes the versions of an entry that the rule no longer keeps.
void ThinEntryVersions(const std::string& historyFolder, const std::string& entryFile,
                       const QDateTime& now);

}  // namespace kl
