#pragma once
// A damaged index, found at start-up and rebuilt from the entry files. The index is damaged
// when it holds NUL bytes (a crash in the middle of a write on some file systems), or when it
// has no "Entries" section with a key while the journal folder holds entry files: then the
// tree would show nothing, or noise, of a journal that is all there. A missing index is no
// damage (a new journal). The damaged file is always copied aside before anything replaces it.

#include <string>

class QLocale;

namespace kl {

// Whether "journal.ini" beside the journal is damaged. Throws kl::Exception when it cannot be
// read.
bool IsJournalIndexDamaged();

// Copies the index as "journal.ini.damaged-yyyymmddhhnnss" beside it or, when its folder cannot
// be written, into JournalSideFolder. Answers the copy's path; throws kl::Exception when no copy
// could be made.
std::string KeepDamagedIndexCopy();

// Replaces the index with one rebuilt from the ".klb" files in JournalFolder: numbers 1, 2, 3...
// in the order of the file names (the order of creation), "Count" the last number, the title
// each file had in the damaged index where it can still be read, else one taken from its text
// (see TitleOfEntryText). Every file stays where it is. Throws kl::Exception.
void RebuildJournalIndex();

// Sets the damaged index aside for this run: the tree starts empty and the first save writes
// a fresh index in its place.
void SetJournalIndexAside();

// The title of an entry whose index title is lost: the first non-blank line after the date line
// at the top (or the first non-blank line when the entry does not start with one), cut to 255
// characters; for an entry without text, the short date and time its file name records.
std::string TitleOfEntryText(const std::string& text, const std::string& fileName,
                             const QLocale& locale);

}  // namespace kl
