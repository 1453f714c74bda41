#!/bin/sh
# Opens the same generated 10 MB RTF file with klb-convert and with LibreOffice's headless
# converter, both writing plain text, and prints both times and their ratio. The target is
# klb-convert at least 5 times faster. Not part of the tests.
#
#   bench/compare_libreoffice.sh [BUILD_DIR]    (default: build)
set -eu
BUILD=${1:-build}
CONVERT="$BUILD/tools/klb-convert"
[ -x "$CONVERT" ] || { echo "compare_libreoffice: build klb-convert first ($CONVERT)" >&2; exit 1; }
if ! command -v soffice >/dev/null 2>&1; then
  echo "compare_libreoffice: installing libreoffice-writer-nogui" >&2
  apt-get install -y --no-install-recommends libreoffice-writer-nogui >/dev/null
fi

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
python3 - "$WORK/big.rtf" <<'PY'
import sys
para = (r"Bella held a steady sit for thirty seconds while the other dogs walked past, then came "
        r"back on the first call across the whole field. Caf\'e9 stop on the way home; the "
        r"\b long line\b0  worked well and the \i whistle\i0  recall is getting reliable \u8212? "
        r"more treats next time, and \cf1 watch the left paw\cf0 . ")
head = (r"{\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;}}"
        r"{\colortbl ;\red200\green0\blue0;}\viewkind4\uc1\pard\f0\fs20 ")
with open(sys.argv[1], "w") as f:
    f.write(head)
    size = len(head)
    while size < 10 * 1024 * 1024:
        line = para * 2 + "\\par\r\n"
        f.write(line)
        size += len(line)
    f.write("}")
PY

now() { date +%s.%N; }
start=$(now)
"$CONVERT" "$WORK/big.rtf" "$WORK/klb.txt"
mid=$(now)
soffice --headless --convert-to txt:Text --outdir "$WORK/lo" "$WORK/big.rtf" >/dev/null 2>&1
end=$(now)

python3 - "$start" "$mid" "$end" "$WORK/klb.txt" "$WORK/lo/big.txt" <<'PY'
import sys
start, mid, end = map(float, sys.argv[1:4])
ours, theirs = mid - start, end - mid
print(f"klb-convert: {ours:.2f} s   LibreOffice: {theirs:.2f} s   ratio: {theirs / ours:.1f}x "
      f"(target 5x or more)")
a = open(sys.argv[4], encoding="utf-8").read().split()
b = open(sys.argv[5], encoding="utf-8-sig").read().split()
print("same words" if a == b else f"the texts differ ({len(a)} words against {len(b)})")
PY
