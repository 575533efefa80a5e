#!/usr/bin/env bash
# The whole cycle in a Wine prefix of its own: install with Install.exe
# through the wizard, use Vellmora, remove it with the uninstall command,
# then start Windows anew so that the delayed deletions run. The inventory
# of the prefix (files under drive_c, the registry files) before and after
# is compared: only Wine's own changes may remain.
# Usage: WholeCycle.sh <work folder> <driver.exe> <release folder>
set -euo pipefail
work="$1"; driver="$2"; release="$3"
source "$(dirname "$0")/../../scripts/common.sh"
# The Wine settings the cycle relies on, whatever the caller's: no Mono or
# Gecko prompts, and no menu or desktop entries of Wine's own for the
# shortcuts (they would be counted as left behind).
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset WINEDLLPATH WINELOADER

# The release folder holds an installer of each architecture.
machine() {  # the machine field of a program's PE header
  local header
  header=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' '
}
for build in i686:014c x86_64:8664; do
  if [ "$(machine "$release/${build%:*}/Install.exe")" != "${build#*:}" ]; then
    echo "FAILED: $release/${build%:*}/Install.exe is missing or of another machine"; exit 1
  fi
done

rm -rf "$work"
mkdir -p "$work/home"
# A prefix links the user's Desktop and Documents to $HOME: a scratch home,
# and real folders instead of the links, keep everything inside the prefix.
export HOME="$work/home" WINEPREFIX="$work/prefix"
"$WINE" wineboot -i </dev/null >/dev/null 2>&1 || true
"$WINESERVER" -w
own_user_folders
unmanaged_windows
"$WINESERVER" -w

# Waits for the prefix's programs to end; what is still running after a
# minute is ended.
settle() { timeout 60 "$WINESERVER" -w || "$WINESERVER" -k; }

inventory() {  # <folder>: the file list and the registry without times
  mkdir -p "$1"
  (cd "$WINEPREFIX" && find drive_c -mindepth 1 | LC_ALL=C sort) > "$1/files"
  for reg in system user userdef; do
    grep -v '^#time=' "$WINEPREFIX/$reg.reg" | sed -E 's/^(\[.*\]) [0-9]+$/\1/' > "$1/$reg.reg"
  done
}
differences() {  # <before> <after>
  diff "$1/files" "$2/files" | grep '^[<>]' || true
  for reg in system user userdef; do
    diff "$1/$reg.reg" "$2/$reg.reg" | grep '^[<>]' | sed "s/^/$reg.reg: /" || true
  done
}

inventory "$work/before"
status=0
"$WINE" "$driver" </dev/null || status=$?
settle
inventory "$work/removed"
echo "---- Prefix after the removal, against before the installation:"
differences "$work/before" "$work/removed" | tee "$work/removed.diff"

# The removal program's copy waits for the next start; after it nothing of
# the installation may be left.
"$WINE" wineboot -r </dev/null >/dev/null 2>&1 || true
settle
inventory "$work/restarted"
echo "---- Prefix after the next start, against before the installation:"
differences "$work/before" "$work/restarted" | tee "$work/restarted.diff"

pattern='vellmora|brennwick|\.cbf|\.cpf|sweeper|install\.log|remove\.exe|readme|VLR[0-9A-F]{8}'
if ! grep -Eiq 'SWEEPER\.EXE' "$work/removed.diff"; then
  echo "FAILED: the removal program's copy was not waiting for deletion"; status=1
fi
# Left on purpose: the clipbook Vellmora keeps beside its program (the
# user's data, not in the log) with the folder that holds it.
left='^> drive_c/Program Files/Vellmora(/Vellmora\.cbd)?$'
if grep -Ei "$pattern" "$work/restarted.diff" | grep -Ev "$left"; then
  echo "FAILED: the lines above are left of the installation"; status=1
fi
# The prefix is kept only to look into a failure.
[ $status -eq 0 ] && rm -rf "$WINEPREFIX"
exit $status
