#!/usr/bin/env bash
# Set-up, build, start and test on a fresh Debian machine.
#   scripts/dev.sh start   install what is missing, build, start the program
#   scripts/dev.sh test    install what is missing, build, run every test (also under
#                          AddressSanitizer + UndefinedBehaviorSanitizer, and the fuzzers)
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang
          libclang-rt-dev binutils libwxgtk3.2-dev xvfb xauth fonts-ipafont-mincho)

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
    if [ -x "$top/build/bin/Shogi" ]; then
      exec "$top/build/bin/Shogi"
    fi
    # The window program is not built yet: show what shogi-tool does instead.
    echo "The window program Shogi is not part of this build yet; demonstrating shogi-tool."
    tool="$top/build/bin/shogi-tool"
    set -x
    "$tool" --help
    "$tool" moves startpos | head -5
    "$tool" perft startpos 4
    ;;
  test)
    install_missing
    build "$top/build"
    (cd "$top/build" && ctest --output-on-failure -j"$jobs")
    # The unit tests once more with AddressSanitizer and UndefinedBehaviorSanitizer; any
    # report aborts the test that made it.
    build "$top/build-asan" -DSHOGI_SANITIZE=ON -DSHOGI_BENCH=OFF -DSHOGI_GUI=OFF \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo
    (cd "$top/build-asan" && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
      UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ctest --output-on-failure -j"$jobs")
    if [ -x "$top/scripts/fuzz.sh" ]; then
      "$top/scripts/fuzz.sh"
    fi
    ;;
  *)
    echo "usage: scripts/dev.sh start|test" >&2
    exit 2
    ;;
esac
