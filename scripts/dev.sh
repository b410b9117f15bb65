#!/usr/bin/env bash
# Set-up, build, start and test on a fresh Debian machine.
#   scripts/dev.sh start   install what is missing, build, start the program (under Xvfb
#                          with a start-up report when there is no display)
#   scripts/dev.sh test    install what is missing, build, run every test (also under
#                          AddressSanitizer + UndefinedBehaviorSanitizer, and the fuzzers)
#                          and the Windows build of platform/ and sikou under Wine
#   scripts/dev.sh windows install what is missing, cross-build shogi-tool.exe, sikou.dll (64-
#                          and 32-bit) and the unit tests with mingw-w64, run the tests under
#                          Wine and compare shogi-tool.exe's output with the Linux build's
set -euo pipefail

top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
jobs=$(nproc 2>/dev/null || echo 2)

packages=(cmake make g++ pkg-config libgtest-dev libgmock-dev libbenchmark-dev clang
          libclang-rt-dev binutils libwxgtk3.2-dev xvfb xauth fonts-ipafont-mincho fairy-stockfish
          libfreetype-dev libcurl4-openssl-dev openbox poppler-utils nlohmann-json3-dev)

# The Windows builds: the cross compilers, GoogleTest's sources, Wine (32-bit from the i386
# architecture).
windows_packages_64=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest wine wine64)
windows_packages_32=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine32:i386)

install_missing() {  # install_missing PACKAGE... (default: the packages above)
  [ $# -gt 0 ] || set -- "${packages[@]}"
  local missing=()
  if [[ " $* " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386 &&
      [ "$(id -u)" -eq 0 ]; then
    dpkg --add-architecture i386
  fi
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # A mirror that is being synchronised refuses some lists now and then: the packages are
    # then installed from the lists it did give (the install itself must still succeed).
    apt-get update -qq || echo "warning: some package lists could not be refreshed" >&2
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "missing Debian packages (run as root to install them): ${missing[*]}" >&2
    exit 1
  fi
}

# Each step of the test command says how long it took, so that the time budget can be kept.
started=$SECONDS
children_cpu() {  # the processor seconds of this script's finished child processes so far
  awk -v hz="$(getconf CLK_TCK)" '{ sub(/.*\) /, ""); printf "%d", ($14 + $15) / hz }' "/proc/$$/stat"
}
step() {  # step NAME COMMAND...
  local name=$1 t=$SECONDS c; c=$(children_cpu); shift
  "$@"
  echo "== $name: $((SECONDS - t)) s, processor $(( $(children_cpu) - c )) s" \
       "(total $((SECONDS - started)) s)"
}

finish_job() {  # finish_job PID LOG: waits for a background step and shows what it printed
  local rc=0
  wait "$1" || rc=$?
  cat "$2"
  return "$rc"
}

build() {  # build DIR CMAKE-ARGS... [-- TARGET...]
  local dir=$1; shift
  local args=() targets=()
  while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
  [ $# -gt 0 ] && shift && targets=(--target "$@")
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release "${args[@]}" >/dev/null
  cmake --build "$dir" -j"$jobs" "${targets[@]}"
}

run_tests() {  # run_tests DIR CTEST-ARGS...
  local dir=$1; shift
  (cd "$dir" && ctest --output-on-failure -j"$jobs" "$@")
}

# Each build has a Wine prefix of its own, made once before the tests start in parallel. A
# prefix that cannot start a program (a start once failed on a fresh machine: "could not load
# kernel32.dll") is made anew, once, saying so.
wine_prefix() {  # wine_prefix DIR
  local attempt
  for attempt in 1 2; do
    if [ ! -f "$1/system.reg" ]; then
      WINEDEBUG=-all WINEPREFIX="$1" wineboot --init >"$1.log" 2>&1 || true
      WINEPREFIX="$1" wineserver -w || true
    fi
    WINEDEBUG=-all WINEPREFIX="$1" wine cmd /c exit >>"$1.log" 2>&1 && return 0
    echo "the Wine prefix $1 does not start a program (attempt $attempt):" >&2
    cat "$1.log" >&2
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
    rm -rf "$1"
  done
  return 1
}

# The tests under Wine; a run in which Wine itself could not start a program is repeated once
# for the tests that failed.
wine_tests() {  # wine_tests DIR CTEST-ARGS...
  local dir=$1; shift
  (cd "$dir" && ctest --output-on-failure -j"$jobs" "$@" 2>&1 | tee ctest.log) && return 0
  grep -q '^wine: could not load' "$dir/ctest.log" || return 1
  echo "Wine could not start a test program: the failed tests once more" >&2
  (cd "$dir" && ctest --output-on-failure --rerun-failed)
}

# The Windows builds and their tests under Wine. `quick`: the 64-bit build of the layer that
# differs between the systems (platform/) and of the thinking library, with their tests;
# `all`: every unit test folder below the window and shogi-tool.exe (64-bit), the 32-bit
# library with its tests in a 32-bit Wine, and shogi-tool.exe's output compared with the Linux
# build's (which must be built).
windows() {  # windows quick|all
  local cross=(-DSHOGI_GUI=OFF -DSHOGI_BENCH=OFF -DSHOGI_WERROR=ON)
  export WINEDEBUG=-all
  if [ "$1" = quick ]; then
    install_missing "${windows_packages_64[@]}"
    build "$top/build-win64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
      "${cross[@]}" -- platform_tests sikou_tests sikou
  else
    install_missing "${windows_packages_64[@]}"
    # The 32-bit packages (i386) may not install (a mirror in the middle of a sync leaves
    # their versions apart): the 64-bit part runs all the same, and the 32-bit one is skipped
    # with a word.
    local win32=1
    (install_missing "${windows_packages_32[@]}") || win32=0
    build "$top/build-win64" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
      "${cross[@]}"
  fi
  export WINEPREFIX="$top/build-win64/wine"
  wine_prefix "$WINEPREFIX"
  local only=()
  [ "$1" = quick ] && only=(-R '^(platform_tests|sikou)')
  wine_tests "$top/build-win64" "${only[@]}"
  [ "$1" = quick ] && return 0
  "$top/scripts/windows_smoke.sh" "$top/build/bin" "$top/build-win64/bin"
  if [ "$win32" -eq 0 ]; then
    echo "SKIPPED: the 32-bit library (its packages could not be installed)" >&2
    return 1
  fi
  # The 32-bit library, as a 32-bit host loads it.
  build "$top/build-win32" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-i686.cmake" "${cross[@]}" \
    -- sikou sikou_tests
  export WINEARCH=win32 WINEPREFIX="$top/build-win32/wine"
  wine_prefix "$WINEPREFIX"
  wine_tests "$top/build-win32" -R '^sikou'
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
    step install install_missing
    # The Windows step's packages download and unpack while the builds below compile.
    mkdir -p "$top/build-win64"
    (install_missing "${windows_packages_64[@]}" && wine_prefix "$top/build-win64/wine") \
      >"$top/build-win64/install.log" 2>&1 &
    windows_install=$!
    # Warnings are errors here: the Release build with g++, the sanitizer build with clang
    # (which sees other faults than g++, the window code included).
    step build build "$top/build" -DSHOGI_WERROR=ON
    # The Windows build of the system layer and the thinking library, tested under Wine (the
    # rest: scripts/dev.sh windows), runs beside the Release tests, which leave part of a
    # processor idle; what it printed is shown at the end.
    wait "$windows_install" || { cat "$top/build-win64/install.log" >&2; exit 1; }
    (windows quick) >"$top/build-win64/windows.log" 2>&1 &
    windows_run=$!
    # The window tests (gui_test) run under xvfb-run, which ctest starts for them.
    step tests run_tests "$top/build"
    # The tests once more with AddressSanitizer and UndefinedBehaviorSanitizer; any report
    # aborts the test that made it. The window code is only compiled there, for clang's
    # warnings: its tests run in the build above (the toolkit's own allocations would drown the
    # leak checker). The same tree builds the fuzz targets. Line tables are all a sanitizer's
    # report needs, and cost far less to build than full debug information.
    step sanitizer-build build "$top/build-asan" -DSHOGI_SANITIZE=ON -DSHOGI_FUZZ=ON \
      -DSHOGI_BENCH=OFF -DSHOGI_WERROR=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
      -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only" \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      step sanitizer-tests run_tests "$top/build-asan" -E '^gui_test'
    # Random fuzzing of every reader, 60 s in all (scripts/fuzz.sh runs longer on demand).
    step fuzz "$top/scripts/fuzz.sh" --build "$top/build-asan"
    step windows finish_job "$windows_run" "$top/build-win64/windows.log"
    ;;
  windows)
    install_missing
    build "$top/build" -DSHOGI_WERROR=ON -- shogi-tool sikou
    windows all
    ;;
  *)
    echo "usage: scripts/dev.sh start|test|windows" >&2
    exit 2
    ;;
esac
