#pragma once
// A generated journal for benchmarks and trials: entries of about 5 KB of RTF each, written as
// the program keeps them (entry files in "Journals", titles and paths in "journal.ini"). Every
// entry names the dog "Rex"; about 1% hold the rare word "zanzibar"; many hold the phrase
// "sit stay recall".

#include <string>

namespace kl::bench {

// Writes entries numbered 2 to count + 1 into folder (which must exist); false on a failure.
bool GenerateJournal(const std::string& folder, int count);

}  // namespace kl::bench
