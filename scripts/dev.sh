#!/usr/bin/env bash
# Set-up, build, start and test on a fresh Debian machine.
#   scripts/dev.sh start   install what is missing, build, start the program (under Xvfb
#                          with a start-up report when there is no display)
#   scripts/dev.sh test    install what is missing, build, run every test (also under
#                          AddressSanitizer + UndefinedBehaviorSanitizer, and the fuzzers)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang
          libclang-rt-dev binutils libwxgtk3.2-dev xvfb xauth fonts-ipafont-mincho fairy-stockfish
          libfreetype-dev libcurl4-openssl-dev openbox poppler-utils nlohmann-json3-dev)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "missing Debian packages (run as root to install them): ${missing[*]}" >&2
    exit 1
  fi
}

build() {  # build DIR CMAKE-ARGS...
  local dir=$1; shift
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}

case "${1:-}" in
  start)
    install_missing
    build "$top/build"
    # The program looks for the thinking library and its lists in its working directory.
    cd "$top/build/bin"
    if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
      exec ./Shogi
    fi
    # No screen to open the window on: start it once under a virtual X server instead and
    # report how long it took to come up.
    echo "No display found (DISPLAY is not set); starting Shogi under Xvfb once."
    exec xvfb-run -a -s "-screen 0 1024x768x24" ./Shogi --startup-report
    ;;
  test)
    install_missing
    # Warnings are errors here: the Release build with g++, the sanitizer build with clang
    # (which sees other faults than g++, the window code included).
    build "$top/build" -DSHOGI_WERROR=ON
    # The window tests (gui_test) run under xvfb-run, which ctest starts for them.
    (cd "$top/build" && ctest --output-on-failure -j"$jobs")
    # The tests once more with AddressSanitizer and UndefinedBehaviorSanitizer; any report
    # aborts the test that made it. The window program is compiled there too, for clang's
    # warnings, but its tests run only in the build above: the toolkit's own allocations
    # would drown the leak checker.
    build "$top/build-asan" -DSHOGI_SANITIZE=ON -DSHOGI_BENCH=OFF -DSHOGI_WERROR=ON \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    (cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      ctest --output-on-failure -j"$jobs" -E '^gui_test')
    # Random fuzzing of every reader, 60 s in all (scripts/fuzz.sh runs longer on demand).
    "$top/scripts/fuzz.sh"
    ;;
  *)
    echo "usage: scripts/dev.sh start|test" >&2
    exit 2
    ;;
esac
