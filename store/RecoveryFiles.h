#pragma once
// Recovery files: the autosaved text of an open entry, in "Journals/.recovery/<session>/", one
// folder per running program (its session), each held by a lock file "<session>.lock" that the
// program keeps locked while it runs. A recovery file is named after the entry it belongs to:
// "entry-12-20240315093000.klb" (entry number and entry file name) or "new-entry.klb". It holds
// the editor's RTF, so any reader of entries reads it.

#include <QDateTime>
#include <string>

namespace kl {

struct TRecoveryFile {
  std::string Path;
  int Number = -1;         // the entry it belongs to, as the index knows it now; -1: a new one
  std::string EntryName;   // the entry file's name without ".klb"; empty for a new entry
  QDateTime SavedAt;       // the last autosave
  std::string Title;       // the entry's title, or "Untitled"
  std::string FirstWords;  // the start of its text, on one line
};

// "entry-<number>-<entry file name>.klb", or "new-entry.klb" for a number below 1.
std::string RecoveryFileName(int number, const std::string& entryFile);
// Reads a name made by RecoveryFileName; false for other names.
bool ParseRecoveryFileName(const std::string& name, int& number, std::string& entryName);

// The first words of an RTF document's text, on one line, cut to about maxChars characters.
std::string FirstWordsOfRtf(const std::string& path, int maxChars = 80);

}  // namespace kl
