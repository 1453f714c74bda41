#!/bin/sh
# Time and peak memory of klb-convert (to text) and of the shown control (show-rtf) on
# generated documents of every hostile shape at 4 MB, and on seven 5600 x 5600 photos.
# Targets: each conversion under 5 s; peak memory under 10 x the file's size + 200 MB, and
# under 300 MB for the photos. Not part of the tests.
#
#   bench/measure_hostile.sh [BUILD_DIR]    (default: build)
set -eu
BUILD=${1:-build}
MAKE="$BUILD/bench/make-rtf-shape"
CONVERT="$BUILD/tools/klb-convert"
SHOW="$BUILD/bench/show-rtf"
for tool in "$MAKE" "$CONVERT" "$SHOW"; do
  [ -x "$tool" ] || { echo "measure_hostile: build $tool first" >&2; exit 1; }
done
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

measure() {  # name file command...
  name=$1 file=$2
  shift 2
  /usr/bin/time -f "%e %U %S %M" -o "$WORK/time" "$@" >/dev/null 2>&1 || echo "  ($name failed)"
  read -r seconds user system kilobytes < "$WORK/time"
  size=$(stat -c %s "$file")
  limit=$(( (10 * size + 200 * 1024 * 1024) / 1024 ))
  printf "%-26s %7s s (cpu %s + %s s) %6d MB peak (limit %d MB)\n" "$name" "$seconds" "$user" \
    "$system" $((kilobytes / 1024)) $((limit / 1024))
}

for shape in FontChanges ColorChanges ShortRuns OneLongWord FontsUsedOnce LongParagraph; do
  "$MAKE" $shape 4194304 "$WORK/$shape.rtf"
  measure "klb-convert $shape" "$WORK/$shape.rtf" "$CONVERT" "$WORK/$shape.rtf" "$WORK/out.txt"
  measure "show-rtf $shape" "$WORK/$shape.rtf" "$SHOW" "$WORK/$shape.rtf"
done
"$MAKE" Pictures 1700000 "$WORK/photos.rtf"
echo "photos: $(grep -o pngblip "$WORK/photos.rtf" | wc -l) pictures in $(stat -c %s "$WORK/photos.rtf") bytes (limit 300 MB)"
measure "klb-convert Pictures" "$WORK/photos.rtf" "$CONVERT" "$WORK/photos.rtf" "$WORK/out.txt"
measure "show-rtf Pictures" "$WORK/photos.rtf" "$SHOW" "$WORK/photos.rtf"
