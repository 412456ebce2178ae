#!/usr/bin/env bash
# Installs what is needed, builds, and starts DriverSetup.exe from the demo setup
# folder under 64-bit Wine: on your X display when there is one, otherwise on a
# private virtual display, where a screenshot shows what the program showed.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

package="$PWD/build/x86_64/package"
shots="$PWD/build/screenshots"
mkdir -p "$shots"

prefix="$PWD/build/wine-run"
xvfb_pid=""
cleanup() {
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap cleanup EXIT

virtual=0
if [ -z "${DISPLAY:-}" ]; then
  virtual=1
  for n in $(seq 90 99); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
  done
  # The frame buffer in a file: a screenshot needs no X client.
  framebuffer="$PWD/build/xvfb"
  mkdir -p "$framebuffer"
  Xvfb "$display" -screen 0 1024x768x24 -fbdir "$framebuffer" -nolisten tcp </dev/null >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY="$display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
  twm -f "$PWD/scripts/twmrc" </dev/null >/dev/null 2>&1 &
fi

scripts/wine-prefix.sh "$prefix" x11
source scripts/wine-env.sh "$prefix"

echo "Starting $package/DriverSetup.exe"
( cd "$package" && WINEDEBUG=-all,trace+msgbox "$WINE64" DriverSetup.exe ) </dev/null 2> build/run-trace.log &
program=$!

if [ "$virtual" -eq 1 ]; then
  # On the virtual display nobody answers a window: look at it, then end it.
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.2; done
  if kill -0 "$program" 2>/dev/null; then
    convert "xwd:$framebuffer/Xvfb_screen0" "$shots/run.png"
    echo "The program is showing a window; screenshot: $shots/run.png"
    "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
fi
wait "$program" && status=0 || status=$?

grep -o 'MessageBoxA.*' build/run-trace.log | sed 's/^/message box: /' || true
echo "DriverSetup.exe ended with exit code $status."
