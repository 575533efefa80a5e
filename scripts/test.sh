#!/usr/bin/env bash
# Installs what is missing, builds both architectures (the 32-bit build is
# compiled and linked, warnings as errors), and runs every test under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/install-deps.sh"
configure_and_build "$BUILD32" mingw-i686.cmake -DVELLMORA_TESTS=OFF -DVELLMORA_WERROR=ON
configure_and_build "$BUILD64" mingw-x86_64.cmake -DVELLMORA_WERROR=ON

ensure_display
if [ "${CI:-}" = "true" ]; then
  rm -rf "$BUILD64/wineprefix"
fi
prepare_prefix "$BUILD64/wineprefix"
trap stop_wine_and_display EXIT
unmanaged_windows
# Started with no pipes of ours, so that the prefix's services and desktop
# never hold CTest's output open.
"$WINE" "$BUILD64/bin/DesktopKeeper.exe" </dev/null >/dev/null 2>&1 &
sleep 1

# The byte-level readers are also built natively and fuzzed for a bounded
# time (FUZZ_SECONDS per target).
if [ -f "$ROOT/fuzz/CMakeLists.txt" ]; then
  FUZZ_BUILD="$ROOT/build/fuzz"
  if [ ! -f "$FUZZ_BUILD/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S "$ROOT/fuzz" -B "$FUZZ_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build "$FUZZ_BUILD" --parallel "$(nproc)"
  for fuzzer in "$FUZZ_BUILD"/fuzz_*; do
    [ -x "$fuzzer" ] || continue
    seconds="${FUZZ_SECONDS:-20}"
    # The clip file reader takes every file the viewer opens: a minute.
    [ "$(basename "$fuzzer")" = fuzz_clipfile ] && seconds="${FUZZ_SECONDS:-60}"
    echo "Fuzzing $(basename "$fuzzer") for $seconds s"
    corpus="$ROOT/fuzz/corpus/$(basename "$fuzzer" | sed 's/^fuzz_//')"
    mkdir -p "$FUZZ_BUILD/corpus-$(basename "$fuzzer")"
    "$fuzzer" -max_total_time="$seconds" -print_final_stats=0 \
      "$FUZZ_BUILD/corpus-$(basename "$fuzzer")" $( [ -d "$corpus" ] && echo "$corpus" ) 2>&1 | tail -n 2
  done
fi

cd "$BUILD64"
failed_list=Testing/Temporary/LastTestsFailed.log
rm -f "$failed_list"
if ! ctest --output-on-failure --parallel 2 --timeout 300 "$@"; then
  # Now and then a Wine process ends at its start without printing a word.
  # Tests that failed run once more, one at a time; a real failure fails
  # again, and the log above keeps the first failure for a look.  When ctest
  # failed without naming a test (nothing found, nothing run), it stays failed.
  [ -s "$failed_list" ] || exit 1
  echo "Running the failed tests once more:"
  ctest --output-on-failure --timeout 300 --rerun-failed
fi
