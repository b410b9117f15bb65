#!/usr/bin/env bash
# The strength series of the computer player: each level against the level below, level 1
# and level 9 against the thinking library, level 9 against fairy-stockfish at a few skill
# levels. Runs for a long time: start it in the background and read the results file.
#   scripts/strength.sh [RESULTS-FILE]     (default build/strength-results.txt)
# Environment: GAMES (40), SCALE (the levels' own budgets times this, 0.05: level 1 may think
# 0.5 s a move, level 9 12 s; few moves need that long, so the levels play nearly as at their
# full budgets), SECONDS_CAP (a cap of every move's budget, none; the engine's time per move is
# the cap, or 1 s), FAST_GAMES (games of the pairs below level 5, default GAMES), ENGINE_GAMES
# (games against fairy-stockfish, 10), SKILLS (fairy-stockfish skill levels, "-10 0 5"),
# PAIRS (which pairs, default all).
set -uo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
# A copy of the tool and the library, so that rebuilding during the series does not disturb it.
out=${1:-$top/build/strength-results.txt}
bin="$top/build/strength-bin-$(basename "$out" .txt)"
mkdir -p "$bin"
cp "$top/build/bin/shogi-tool" "$top/build/bin/sikou.so" "$bin/"
tool="$bin/shogi-tool"
openings="$top/bench/openings.txt"
games=${GAMES:-40}
fast_games=${FAST_GAMES:-$games}
engine_games=${ENGINE_GAMES:-10}
scale=${SCALE:-0.05}
seconds=${SECONDS_CAP:-}
limits=(--scale "$scale")
[ -n "$seconds" ] && limits+=(--seconds "$seconds")
skills=${SKILLS:-"-10 0 5"}

[ -x "$tool" ] && [ -f "$bin/sikou.so" ] ||
  { echo "build shogi-tool and sikou first (cmake --build build --target shogi-tool sikou)" >&2; exit 1; }

run() {  # run A B GAMES [options...]
  local a=$1 b=$2 n=$3; shift 3
  local start=$(date +%s)
  {
    echo "== $a vs $b: $n games, ${limits[*]}"
    "$tool" match "$a" "$b" --games "$n" "${limits[@]}" --openings "$openings" "$@" | tail -2
    echo "   ($(( $(date +%s) - start )) s)"
  } >> "$out" 2>&1
}

echo "# strength series $(date -u '+%Y-%m-%d %H:%M') on $(nproc) cores; budgets ${limits[*]}" >> "$out"
pairs=${PAIRS:-"2:1 3:2 4:3 1:sikou 5:4 6:5 7:6 8:7 9:8 9:sikou fsf"}
for pair in $pairs; do
  case $pair in
    fsf)
      if command -v fairy-stockfish >/dev/null || [ -x /usr/games/fairy-stockfish ]; then
        engine=$(command -v fairy-stockfish || echo /usr/games/fairy-stockfish)
        for s in $skills; do
          run level:9 "usi:$engine" "$engine_games" --option-b "Skill Level=$s"
        done
      else
        echo "== fairy-stockfish not installed" >> "$out"
      fi
      ;;
    *:sikou)
      run "level:${pair%%:*}" sikou "$games" ;;
    *)
      a=${pair%%:*} b=${pair##*:}
      n=$games; [ "$a" -lt 5 ] && n=$fast_games
      run "level:$a" "level:$b" "$n" ;;
  esac
done
echo "# done $(date -u '+%H:%M')" >> "$out"
