#!/usr/bin/env bash
# Runs a set of shogi-tool commands with the Linux build and with the Windows build under Wine,
# each in a fresh copy of the same folder (its name holds Japanese and a space), and compares
# what they print on standard output, their exit codes and every file they write, byte for byte.
#   scripts/windows_smoke.sh LINUX_BIN_DIR WINDOWS_BIN_DIR
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
linux_bin=$(cd "$1" && pwd)
windows_bin=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEDEBUG=-all

# One command per line, run by both tools from the folder "棋譜 集" holding the data below.
commands=$(cat <<'LIST'
read kif "対局 1.kif"
read csa even.csa
read ki2 game.ki2
read kaya three.kaya --record 2
convert kif "対局 1.kif" csa "出力 1.csa"
convert csa even.csa kif "出力 2.kif"
convert kif "対局 1.kif" kaya "出力 3.kif"
db create "棋譜 集.mix"
db add "棋譜 集.mix" kif "対局 1.kif"
db add "棋譜 集.mix" csa even.csa
db count "棋譜 集.mix"
db get "棋譜 集.mix" 2
db search "棋譜 集.mix" --position startpos --mode 1
db list "棋譜 集.mix"
db create kisen.idx
db add kisen.idx kif "対局 1.kif"
db get kisen.idx 1
mate '8k/9/7G1/9/9/9/9/9/K8 b G 1'
mate '7kl/9/6G2/9/9/9/9/9/K8 b GS 1'
moves startpos
perft startpos 3
think startpos --level 1
sikou 7g7f 3c3d
eval startpos
diagram standard kif "対局 1.kif" --ply 10
diagram kaya kif "対局 1.kif" --out "図 1.txt"
LIST
)

prepare() {  # prepare DIR: the data folder the commands run in
  local dir="$1/棋譜 集"
  mkdir -p "$dir"
  cp "$top/tests/data/kif/even.kif" "$dir/対局 1.kif"
  cp "$top/tests/data/csa/even.csa" "$dir/even.csa"
  cp "$top/tests/data/ki2/game.ki2" "$dir/game.ki2"
  cp "$top/tests/data/kaya/three.kaya" "$dir/three.kaya"
}

run_all() {  # run_all DIR TOOL...: each command's stdout and exit code into DIR/out/N
  local dir=$1; shift
  mkdir -p "$dir/out"
  local n=0
  while IFS= read -r line; do
    n=$((n + 1))
    (cd "$dir/棋譜 集" && eval "\"\$@\" $line" > "$dir/out/$n.stdout" 2> "$dir/out/$n.stderr";
     echo $? > "$dir/out/$n.code") || true
  done <<< "$commands"
}

prepare "$work/linux"
prepare "$work/windows"
run_all "$work/linux" "$linux_bin/shogi-tool"
run_all "$work/windows" wine "$windows_bin/shogi-tool.exe"

failed=0
n=0
while IFS= read -r line; do
  n=$((n + 1))
  for part in stdout code; do
    if ! cmp -s "$work/linux/out/$n.$part" "$work/windows/out/$n.$part"; then
      echo "differs ($part): shogi-tool $line"
      diff <(head -c 2000 "$work/linux/out/$n.$part") <(head -c 2000 "$work/windows/out/$n.$part") | head -10 || true
      failed=1
    fi
  done
done <<< "$commands"
# The files both wrote.
if ! diff -r "$work/linux/棋譜 集" "$work/windows/棋譜 集" > "$work/files.diff"; then
  echo "the written files differ:"; head -20 "$work/files.diff"; failed=1
fi
total=$n
files=$(find "$work/linux/棋譜 集" -type f | wc -l)
if [ $failed -eq 0 ]; then
  echo "windows smoke: $total commands and $files files the same, byte for byte"
else
  echo "windows smoke: differences found" >&2
  exit 1
fi
