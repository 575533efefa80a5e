# Shared by the run and test scripts: build folders, Wine and the display.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD64="${BUILD64:-$ROOT/build/x86_64}"
BUILD32="${BUILD32:-$ROOT/build/i686}"

# configure_and_build <build dir> <toolchain file> [cmake options...]
configure_and_build() {
  local dir="$1" toolchain="$2"; shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/$toolchain" \
      -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
  fi
  cmake --build "$dir" --parallel "$(nproc)" ${BUILD_TARGETS:+--target $BUILD_TARGETS}
}

export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
export WINEARCH=win64
WINE="$(command -v wine64 || echo /usr/lib/wine/wine64)"
WINESERVER="$(command -v wineserver || echo /usr/lib/wine/wineserver)"

# A virtual display when there is none; remembered so it can be stopped.
XVFB_PID=""
ensure_display() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
    return
  fi
  local n
  for n in $(seq 91 130); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      xdpyinfo >/dev/null 2>&1 && return
      sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  exit 1
}

# prepare_prefix <dir>: a Wine prefix of our own, made once; its server is
# kept running for the whole session.
prepare_prefix() {
  export WINEPREFIX="$1"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$WINE" wineboot -i >/dev/null 2>&1 || true
    "$WINESERVER" -w
  fi
  link_wine_fonts
  "$WINESERVER" -p 2>/dev/null || true  # already running is fine
  own_user_folders
}

# A new prefix links the user's Desktop, Documents and the like to $HOME;
# tests that create shortcuts or documents get folders inside the prefix.
own_user_folders() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm -f "$link"
    mkdir -p "$link"
  done
}

# Wine draws caption buttons with the Marlett font and dialogs with Tahoma,
# which fonts-wine puts in Wine's data folder. This Wine build never looks
# there (it scans only the prefix's windows\Fonts and fontconfig's folders),
# so a new prefix finds none of them and shows "0 1 r" for the buttons:
# link them into the prefix's Fonts folder.
link_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font
  [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] || return 0
  for font in /usr/share/wine/fonts/*; do
    [ -e "$fonts/$(basename "$font")" ] || ln -s "$font" "$fonts/"
  done
}

# Xvfb has no window manager: let Wine manage its windows itself, or every
# destruction of a visible top-level window waits two seconds for a window
# manager's answer that never comes.
unmanaged_windows() {
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
}

stop_wine_and_display() {
  [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
}
