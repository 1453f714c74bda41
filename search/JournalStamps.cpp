#include "search/JournalStamps.h"

#include "store/GlobalUnit.h"

namespace kl {
namespace {

constexpr const char* kJournalIniStamp = "journal.ini";
constexpr const char* kJournalFolderStamp = "Journals";

}  // namespace

std::string JournalIniPath() {
  return AppFolder() + "journal.ini";
}

TJournalStamps CurrentJournalStamps() {
  return {StampOf(JournalIniPath()), StampOf(JournalFolder())};
}

bool JournalMayHaveChanged(TSearchIndex& index) {
  const TJournalStamps now = CurrentJournalStamps();
  return index.JournalStamp(kJournalIniStamp) != now.journalIni ||
         index.JournalStamp(kJournalFolderStamp) != now.journalFolder;
}

void RecordJournalStamps(TSearchIndex& index, const TJournalStamps& stamps) {
  index.SetJournalStamp(kJournalIniStamp, stamps.journalIni);
  index.SetJournalStamp(kJournalFolderStamp, stamps.journalFolder);
}

}  // namespace kl
