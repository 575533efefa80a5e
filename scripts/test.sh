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
# Started with no pipes of ours, so that the prefix's services and desktop
# never hold CTest's output open.
"$WINE" "$BUILD64/bin/DesktopKeeper.exe" </dev/null >/dev/null 2>&1 &
sleep 1

cd "$BUILD64"
ctest --output-on-failure --parallel 2 --timeout 300 "$@"
