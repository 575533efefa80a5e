#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vellmora under Wine: on your
# display, or on a virtual one when there is none.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/install-deps.sh"
if [ -f "$ROOT/viewer/program.cmake" ]; then main=Vellmora; else main=MdiDemo; fi
BUILD_TARGETS=$main configure_and_build "$BUILD64" mingw-x86_64.cmake -DVELLMORA_WERROR=ON

ensure_display
prepare_prefix "$ROOT/build/wineprefix"
trap stop_wine_and_display EXIT
[ -n "$XVFB_PID" ] && unmanaged_windows
program="$BUILD64/bin/$main.exe"
echo "Starting $(basename "$program") on display $DISPLAY"
"$WINE" "$program" "$@"
