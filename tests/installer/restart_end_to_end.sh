#!/usr/bin/env bash
# The restart, end to end, in a Wine prefix made for it alone: Install.exe
# replaces a file in use and the restart question is answered No, then
# another and Yes; Wine ends the session and carries out both replacements.
# Usage: restart_end_to_end.sh <source root> <directory of the programs>
set -uo pipefail
source "$1/scripts/common.sh"
BIN="$2"
PREFIX="$(dirname "$BIN")/restart-prefix"
rm -rf "$PREFIX"
prepare_prefix "$PREFIX"
unmanaged_windows
cleanup() { "$WINESERVER" -k 2>/dev/null; rm -rf "$PREFIX"; }
trap cleanup EXIT

"$WINE" "$BIN/InstallerRestartSteps.exe" --gtest_filter=Restart.AFileInUseWaitsForTheNextStartWithABackup </dev/null || exit 1
# This one ends with the session; Wine may end the program with it.
"$WINE" "$BIN/InstallerRestartSteps.exe" --gtest_filter=Restart.InstallWithAFileInUseAndAnswerYes </dev/null
"$WINE" "$BIN/InstallerRestartSteps.exe" --gtest_filter=Restart.TheNewFilesAreInPlaceAfterTheRestart </dev/null
