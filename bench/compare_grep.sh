#!/bin/sh
# klb-search against grep on a generated 10,000-entry journal: one search for a rare word (in
# about 1% of the entries) on an indexed, unchanged journal, as a whole process, against the time
# `grep -rl` needs just to scan the same entry files. Target: klb-search at least 5 times faster.
# Usage: bench/compare_grep.sh [BUILD_FOLDER]
set -e
build=${1:-build}
journal=$(mktemp -d)
trap 'rm -rf "$journal"' EXIT
"$build/bench/klb-generate-journal" "$journal" 10000
"$build/tools/klb-search" --journal "$journal" zanzibar > /dev/null  # builds the index

runs=20
start=$(date +%s%N)
for i in $(seq $runs); do "$build/tools/klb-search" --journal "$journal" zanzibar > /dev/null; done
search=$(( ($(date +%s%N) - start) / runs / 1000 ))
start=$(date +%s%N)
for i in $(seq $runs); do grep -rl zanzibar "$journal/Journals" > /dev/null; done
grep=$(( ($(date +%s%N) - start) / runs / 1000 ))
echo "klb-search: ${search} us per search; grep -rl: ${grep} us per scan; $(( grep / (search > 0 ? search : 1) ))x faster"
