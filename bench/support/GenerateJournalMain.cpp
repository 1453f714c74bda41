// klb-generate-journal FOLDER [COUNT]: writes a generated journal of COUNT entries (10,000 by
// default) into FOLDER, for benchmarks and for trying the program on a big journal.
#include <cstdio>
#include <cstdlib>

#include "bench/support/JournalGenerator.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: klb-generate-journal FOLDER [COUNT]\n");
    return 2;
  }
  const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
  if (count < 1 || !kl::bench::GenerateJournal(argv[1], count)) {
    std::fprintf(stderr, "klb-generate-journal: cannot write the journal into %s\n", argv[1]);
    return 2;
  }
  return 0;
}
