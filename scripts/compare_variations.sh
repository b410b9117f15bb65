#!/usr/bin/env bash
# Compares the listings of the test records with comments and variations
# (tests/data/variations/*.txt, which the tests hold shogi-tool to) with what another reader of
# these forms makes of the same files: the npm package tsshogi, run by node. It is not needed to
# build or test; run it after changing a listing or a test record.
#   scripts/compare_variations.sh DIR   DIR holds node_modules/tsshogi (npm install tsshogi)
# Known differences: a CSA "'" line after a move that does not begin "'*" is a comment here and
# a remark there; a comment after the word that ends a line belongs to that line's last move
# here, to the word there.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:?usage: scripts/compare_variations.sh DIR-WITH-node_modules/tsshogi}
script="$dir/shogi_listing.mjs"
cat >"$script" <<'EOF'
// The listing of `shogi-tool read FORMAT FILE --variations` from what tsshogi reads.
import { importKIF, importKI2, importCSA, importJKFString } from "tsshogi";
import { readFileSync } from "fs";
const [format, path] = process.argv.slice(2);
const text = new TextDecoder(format === "jkf" ? "utf-8" : "shift_jis").decode(readFileSync(path));
const read = { kif: importKIF, ki2: importKI2, csa: importCSA, jkf: importJKFString }[format];
const record = read(text);
if (record instanceof Error) throw record;
const lines = [], comments = [];
const note = (index, node) => {
  if (!node.comment) return;
  for (const c of node.comment.replace(/\n$/, "").split("\n")) comments.push(`comment ${index} ${node.ply}: ${c}`);
};
// A line from `start` with the moves `before` it; then its variations from its end back to
// its start, each followed by its own.
function visit(start, before, main) {
  const moves = before.slice(), nodes = [];
  for (let n = start; n; n = n.next) {
    nodes.push(n);
    if (!n.move || n.move.usi === undefined) break;
    moves.push(n.move.usi);
  }
  const index = lines.length;
  lines.push(moves);
  if (main) note(index, record.first);
  nodes.forEach((n) => note(index, n));
  const pending = [];
  nodes.forEach((n, i) => {
    if (i === 0 && !main) return;
    const alternatives = [];
    for (let b = n.branch; b; b = b.branch) alternatives.push(b);
    pending.push({ alternatives, before: moves.slice(0, before.length + i) });
  });
  for (const p of pending.reverse()) for (const a of p.alternatives) visit(a, p.before, false);
}
visit(record.first.next, [], true);
lines.forEach((l, i) => console.log(`line ${i}:${l.map((m) => " " + m).join("")}`));
comments.forEach((c) => console.log(c));
EOF
status=0
for listing in "$top"/tests/data/variations/*.txt; do
  name=$(basename "$listing" .txt)
  format=${name##*.}
  [ "$format" = kifu ] && format=kif
  if diff <(node "$script" "$format" "$top/tests/data/$format/$name") "$listing"; then
    echo "same: $name"
  else
    echo "differs: $name"
    status=1
  fi
done
exit $status
