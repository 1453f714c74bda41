#pragma once
// The journal store: where the journal lives, the index "journal.ini" beside the program, and
// the entry files in "Journals". Every routine that can fail reports its failure itself, in a
// message box naming the routine ("SaveEntry: Error - ..."), and returns its failure result.

#include <functional>
#include <string>
#include <vector>

namespace kl {

class TIniFile;

// --- Shared values, set at start-up ---------------------------------------------------------

// The folder the journal lives in, ending in "/": the program's own folder, or the per-user data
// folder when the program's folder holds no journal and cannot be written (see ChooseAppFolder).
const std::string& AppFolder();
// AppFolder followed by "Journals" (no trailing "/").
const std::string& JournalFolder();
// The folder for the files kept beside the journal (search index, autosaves, history), ending
// in "/": AppFolder when new files can be made there; otherwise a folder for this journal under
// the per-user cache folder (created when missing), so a read-only journal still gets them.
std::string JournalSideFolder();
// The open index object on AppFolder + "journal.ini"; nullptr before OpenJournalIni and after
// CloseJournalIni.
TIniFile* JournalIni();

// The folder of the running program's file, ending in "/".
std::string ProgramFolder();
// The folder for the journal, ending in "/": programFolder itself when it already holds a
// journal ("journal.ini" or "Journals"), writable or not, or when new files can be made in it;
// otherwise the per-user data folder (created when missing), so that a program installed where
// its user cannot write still keeps a journal.
std::string ChooseAppFolder(const std::string& programFolder);
// Start-up: AppFolder = ChooseAppFolder(ProgramFolder()), and JournalFolder after it.
void InitJournalPaths();
// Sets AppFolder to folder exactly (a "/" added when missing) and JournalFolder after it. Tests
// point the journal at a temporary folder with it.
void SetAppFolder(const std::string& folder);
// Creates the index object on AppFolder + "journal.ini" (the file is not touched).
void OpenJournalIni();
// Releases the index object.
void CloseJournalIni();
// Removes what a program killed in the middle of a save left beside the index and the entries:
// temporary files of ours more than an hour old.
void RemoveStaleSaveFiles();

// --- Store routines --------------------------------------------------------------------------

// The next entry number: the stored "Count" plus one (a missing or unreadable "Count" counts as
// 1), moved on past any number the index already uses. Writes nothing. 0 after a failure.
int GetNewEntryNumber();

// For Number above 0: true at once, FileName untouched. Otherwise records a new entry (title,
// fresh file path and "Count", in one replacement of the index), sets FileName to the path and
// returns true; false after a failure, with nothing recorded. The caller writes the file after.
bool SaveEntry(int Number, const std::string& Title, std::string& FileName);

// Records a new entry safely: makes the next number and a fresh path, lets writeFile write the
// entry's file there, and only when it returns true records title, path and "Count". Then
// fileName and number are the new entry's, and the result is true. When writeFile returns false
// nothing is recorded; when the index cannot be written the file just written is removed, the
// failure is reported as "SaveEntry: Error - ..." and the result is false. Failures thrown by
// writeFile pass through unchanged, with nothing recorded.
bool SaveNewEntry(const std::string& title,
                  const std::function<bool(const std::string& path)>& writeFile,
                  std::string& fileName, int& number);

// Writes the title of entry Number (exactly as given). True for Number 0 or below without
// writing; false after a failure.
bool SaveEntryTitle(int Number, const std::string& Title);

// For Number above 0 the path the index records (see ResolveEntryFile), or empty text; else
// Name when it holds anything but blanks; else a fresh path in JournalFolder, named after the
// local date and time ("yyyymmddhhnnss.klb"), taking the next second when a file of that name
// exists or the index records that path. FileName is unchanged after a failure.
void GetEntryFileName(int Number, const std::string& Name, std::string& FileName);

// "Untitled" for Number below 1, else the title the index records (empty text when none).
// Title is unchanged after a failure.
void GetEntryTitle(int Number, std::string& Title);

// The file a recorded path stands for: the path itself when it lies in JournalFolder; otherwise
// (the journal was copied or moved, the path was written with "\\" on the original platform, or
// it is not absolute) the file of the same name in JournalFolder, whether or not it exists, so
// that a journal only ever reads and writes its own files. Empty text for a path without a name.
std::string ResolveEntryFile(const std::string& path);

// A key name of section "Journal" read as an entry number: "02" is 2; "Count", "abc" and other
// names that are not whole numbers are 0.
int EntryNumberOfKey(const std::string& key);

struct TJournalEntry {
  int Number = 0;
  std::string Title;
};

// The entries of the index in the order they were created (the key order of section "Journal"),
// each with its title; names whose number is 0 or below are left out. Throws kl::Exception
// (the caller reports it as its own failure).
std::vector<TJournalEntry> ReadJournalEntries();

}  // namespace kl
