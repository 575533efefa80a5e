#!/usr/bin/env bash
# Builds, starts Install.exe on a virtual display of its own and writes its
# first wizard page over the installer's background to docs/wizard.png.
set -euo pipefail
source "$(dirname "$0")/common.sh"

"$ROOT/scripts/install-deps.sh"
BUILD_TARGETS="Install" configure_and_build "$BUILD64" mingw-x86_64.cmake -DVELLMORA_WERROR=ON

# A display and a prefix of our own, so that nothing else is in the picture
# and nothing is installed anywhere that matters; stopping the prefix's
# server at the end ends the installer too.
unset DISPLAY
ensure_display
prepare_prefix "$ROOT/build/wineprefix-screenshot"
trap stop_wine_and_display EXIT
unmanaged_windows

"$WINE" "$BUILD64/bin/Install.exe" </dev/null >/dev/null 2>&1 &
for _ in $(seq 1 150); do
  xwininfo -root -tree | grep -q '"Enter destination path"' && break
  sleep 0.2
done
sleep 1  # the page paints after it appears
mkdir -p "$ROOT/docs"
import -window root "$ROOT/docs/wizard.png"
echo "Wrote $ROOT/docs/wizard.png"
