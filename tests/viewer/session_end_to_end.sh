#!/usr/bin/env bash
# Wine ends the session of a prefix of its own while Vellmora runs with a pasted
# page: book and settings are on disk, no access violation is traced.
# Usage: session_end_to_end.sh <source root> <program folder>
set -uo pipefail
source "$1/scripts/common.sh"
BIN="$2" PREFIX="$(dirname "$2")/session-prefix"
rm -rf "$PREFIX"
prepare_prefix "$PREFIX"
unmanaged_windows
trap '"$WINESERVER" -k 2>/dev/null; rm -rf "$PREFIX"' EXIT
mkdir -p "$PREFIX/drive_c/vellmora" && cp "$BIN/Vellmora.exe" "$PREFIX/drive_c/vellmora/"
WINEDEBUG=-all,+seh "$WINE" 'C:\vellmora\Vellmora.exe' </dev/null >/dev/null 2>"$PREFIX/trace" &
"$WINE" "$BIN/ViewerSessionSteps.exe" </dev/null || exit 1
"$WINE" wineboot --end-session </dev/null
for _ in $(seq 100); do kill -0 $! 2>/dev/null || break; sleep 0.1; done
kill -0 $! 2>/dev/null && { echo "Vellmora still runs after the session ended"; exit 1; }
grep 'c0000005' "$PREFIX/trace" && exit 1
grep -q "Kept at the end" "$PREFIX/drive_c/vellmora/Vellmora.cbd" || { echo "the page was not written"; exit 1; }
"$WINE" reg query 'HKCU\Software\Brennwick\Vellmora\Toolbars' /v Style </dev/null
