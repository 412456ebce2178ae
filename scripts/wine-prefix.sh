#!/usr/bin/env bash
# Makes a Wine prefix ready for the program and starts its persistent wineserver.
# Usage: scripts/wine-prefix.sh <prefix-dir> <null|x11>
#   null: windows without a display (tests); x11: the user's or a virtual display.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
source "$here/wine-env.sh" "$1"
graphics="${2:-null}"

mkdir -p "$WINEPREFIX"
if [ ! -f "$WINEPREFIX/.driversetup-ready" ]; then
  echo "Creating Wine prefix $WINEPREFIX"
  # Without a display: nothing of the first start waits for a user.
  env -u DISPLAY "$WINE64" wineboot --init >/dev/null 2>&1 || true
  "$WINESERVER" -w
  # A crash must end the process, not start the debugger and hang the run.
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /d '' /f >/dev/null 2>&1
  "$WINE64" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.driversetup-ready"
fi

current="$(cat "$WINEPREFIX/.driversetup-graphics" 2>/dev/null || true)"
if [ "$current" != "$graphics" ]; then
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  if [ "$graphics" = null ]; then
    "$WINE64" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  else
    "$WINE64" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true
  fi
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  echo "$graphics" > "$WINEPREFIX/.driversetup-graphics"
fi

# A persistent server and one warm-up process make each later start fast.
setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
"$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
