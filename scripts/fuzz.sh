#!/usr/bin/env bash
# Builds the fuzz targets of the record readers, the database reader and the position index
# reader with clang (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz
# and runs each for a bounded time; any finding (a crash, a sanitizer report, a failed check, a
# hang) fails the script.
#   scripts/fuzz.sh          run the targets for FUZZ_TOTAL_SECONDS seconds in all (default
#                            60, shared equally), or each for FUZZ_SECONDS when that is set,
#                            FUZZ_JOBS of them at a time (default: one a processor)
#   scripts/fuzz.sh --keep   afterwards merge the inputs that reached new code into the
#                            saved corpus under tests/fuzz/corpus (which every test build
#                            replays)
#   scripts/fuzz.sh --build DIR   use the build tree DIR, configured with SHOGI_FUZZ=ON (the
#                            test command's sanitizer build), instead of a tree of its own
# New inputs go to <build>/corpus/<target>; the saved corpus is only read unless --keep.
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
build="$top/build-fuzz"
own_build=1
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --keep) keep=1 ;;
    --build) [ $# -ge 2 ] || { echo "--build needs a directory" >&2; exit 2; }
             build=$(cd "$2" && pwd); own_build=0; shift ;;
    *) echo "usage: scripts/fuzz.sh [--keep] [--build DIR]" >&2; exit 2 ;;
  esac
  shift
done
targets=(kif ki2 csa jkf database position_index foreign kaya palm)
seconds=${FUZZ_SECONDS:-$(( ${FUZZ_TOTAL_SECONDS:-60} / ${#targets[@]} ))}
jobs=${FUZZ_JOBS:-$(nproc 2>/dev/null || echo 2)}

if [ "$own_build" -eq 1 ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHOGI_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSHOGI_GUI=OFF -DSHOGI_BENCH=OFF \
    >/dev/null
fi
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/artifacts"
# The database target writes its input to files and registers games, which waits for the
# disk; files in memory keep that from setting the pace.
if [ -d /dev/shm ]; then export TMPDIR=/dev/shm; fi
# One target: its own corpus, log and artifacts; the saved corpus is read too.
fuzz_one() {  # fuzz_one TARGET
  local t=$1 work="$build/corpus/$1" saved="$top/tests/fuzz/corpus/$1" log="$build/fuzz_$1.log"
  mkdir -p "$work"
  # A target whose input has no words of its own (the position index's edits) has no dictionary.
  local dict=()
  [ -f "$top/tests/fuzz/$t.dict" ] && dict=(-dict="$top/tests/fuzz/$t.dict")
  "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 "${dict[@]}" -artifact_prefix="$build/artifacts/$t-" \
    -print_final_stats=1 "$work" "$saved" >"$log" 2>&1
}

rm -f "$build"/fuzz_*.status
echo "== fuzzing ${#targets[@]} targets for ${seconds} s each, $jobs at a time"
for t in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  (if fuzz_one "$t"; then echo 0; else echo 1; fi >"$build/fuzz_$t.status") &
done
wait
failed=0
for t in "${targets[@]}"; do
  if [ "$(cat "$build/fuzz_$t.status" 2>/dev/null)" != 0 ]; then
    tail -40 "$build/fuzz_$t.log" >&2
    echo "fuzz_$t found a fault; the input is in $build/artifacts/" >&2
    failed=1
    continue
  fi
  echo "== fuzz_$t"
  grep -E '^stat::(number_of_executed_units|new_units_added)|^Done' "$build/fuzz_$t.log" || true
  if [ "$keep" -eq 1 ]; then
    "$build/fuzz/fuzz_$t" -merge=1 "$top/tests/fuzz/corpus/$t" "$build/corpus/$t" 2>&1 | tail -1
  fi
done
[ "$failed" -eq 0 ] || exit 1
echo "fuzzing found nothing"
