#!/usr/bin/env bash
# The end of a Windows session, in a Wine prefix made for it alone (it ends
# every program of its prefix): Vellmora runs, a page is pasted, Wine ends
# the session, and the book and the settings must be on disk. No access
# violation may be traced in Vellmora meanwhile.
# Usage: session_end_to_end.sh <source root> <directory of the programs>
set -uo pipefail
source "$1/scripts/common.sh"
BIN="$2"
PREFIX="$(dirname "$BIN")/session-prefix"
rm -rf "$PREFIX"
prepare_prefix "$PREFIX"
unmanaged_windows
trace=$(mktemp)
cleanup() { "$WINESERVER" -k 2>/dev/null; rm -rf "$PREFIX" "$trace"; }
trap cleanup EXIT

mkdir -p "$PREFIX/drive_c/vellmora"
cp "$BIN/Vellmora.exe" "$PREFIX/drive_c/vellmora/"
WINEDEBUG=-all,+seh "$WINE" 'C:\vellmora\Vellmora.exe' </dev/null >/dev/null 2>"$trace" &
vellmora=$!
"$WINE" "$BIN/ViewerSessionSteps.exe" --gtest_filter=Session.PasteAPageIntoTheRunningProgram </dev/null || exit 1
"$WINE" wineboot --end-session </dev/null
for _ in $(seq 100); do kill -0 "$vellmora" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$vellmora" 2>/dev/null; then echo "Vellmora still runs after the session ended"; exit 1; fi
if grep -q 'code=c0000005' "$trace"; then grep 'c0000005' "$trace" | head; exit 1; fi
"$WINE" "$BIN/ViewerSessionSteps.exe" --gtest_filter=Session.TheBookAndTheSettingsWereWritten </dev/null
