#!/usr/bin/env bash
# Builds, starts Vellmora on a virtual display with a text and a picture on
# the clipboard and some of their formats open, and writes the screen to
# docs/screenshot.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/install-deps.sh"
BUILD_TARGETS="Vellmora ViewerShowcase" configure_and_build "$BUILD64" mingw-x86_64.cmake -DVELLMORA_WERROR=ON

# A display of our own, so that nothing else is in the picture.
unset DISPLAY
ensure_display
prepare_prefix "$ROOT/build/wineprefix-screenshot"
trap stop_wine_and_display EXIT
unmanaged_windows

# Tests leave their clipbook beside the build's program; the picture starts
# with an empty one.
rm -f "$BUILD64/bin/Vellmora.cbd"
"$WINE" "$BUILD64/bin/Vellmora.exe" </dev/null >/dev/null 2>&1 &
"$WINE" "$BUILD64/bin/ViewerShowcase.exe" </dev/null
sleep 2
mkdir -p "$ROOT/docs"
import -window root "$ROOT/docs/screenshot.png"
echo "Wrote $ROOT/docs/screenshot.png"
