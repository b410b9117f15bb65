#!/usr/bin/env bash
# Builds the fuzz targets of the record readers, the database reader and the position index
# reader with clang (libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) in build-fuzz
# and runs each for a bounded time; any finding (a crash, a sanitizer report, a failed check, a
# hang) fails the script.
#   scripts/fuzz.sh          run the targets for FUZZ_TOTAL_SECONDS seconds in all (default
#                            60, shared equally), or each for FUZZ_SECONDS when that is set
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

if [ "$own_build" -eq 1 ]; then
  cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSHOGI_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DSHOGI_GUI=OFF -DSHOGI_BENCH=OFF \
    >/dev/null
fi
cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

mkdir -p "$build/artifacts"
# The database target writes its input to files and registers games, which waits for the
# disk; files in memory keep that from setting the pace.
if [ -d /dev/shm ]; then export TMPDIR=/dev/shm; fi
for t in "${targets[@]}"; do
  work="$build/corpus/$t"
  saved="$top/tests/fuzz/corpus/$t"
  mkdir -p "$work"
  echo "== fuzz_$t for ${seconds} s"
  log="$build/fuzz_$t.log"
  # A target whose input has no words of its own (the position index's edits) has no dictionary.
  dict=()
  [ -f "$top/tests/fuzz/$t.dict" ] && dict=(-dict="$top/tests/fuzz/$t.dict")
  if ! "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=8192 "${dict[@]}" -artifact_prefix="$build/artifacts/$t-" \
      -print_final_stats=1 "$work" "$saved" >"$log" 2>&1; then
    tail -40 "$log" >&2
    echo "fuzz_$t found a fault; the input is in $build/artifacts/" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added)|^Done' "$log" || true
  if [ "$keep" -eq 1 ]; then
    "$build/fuzz/fuzz_$t" -merge=1 "$saved" "$work" 2>&1 | tail -1
  fi
done
echo "fuzzing found nothing"
