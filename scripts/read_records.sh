#!/usr/bin/env bash
# Prints what `shogi-tool read` gives for every record file of the test folders, read as
# every format (and each game of the Kaya files), and for the saved fuzz inputs of the
# one-format readers read as their format: one block per read, for comparing two builds.
#   scripts/read_records.sh TOOL REPOSITORY > out.txt   (then diff the outputs of two builds)
set -uo pipefail
tool=$1
top=$2
formats="morita kif ki2 eisei kaya akafuji csa shotest s1n fuku kitaihei maruyama otsuki nazoteki shokidoki hshogi amano aishogi kanna om1 s1-1996 super sekita sfen usi palm"
cd "$top"
run() {
  echo "== $*"
  "$tool" read "$@" 2>&1
  echo "rc=$?"
}
find tests/data -type f | LC_ALL=C sort | while read -r file; do
  for f in $formats; do run "$f" "$file"; done
  case "$file" in *.kaya) for n in 2 3 4; do run kaya "$file" --record "$n"; done ;; esac
done
for f in kif ki2 csa kaya palm; do
  find "tests/fuzz/corpus/$f" -type f | LC_ALL=C sort | while read -r file; do run "$f" "$file"; done
done
