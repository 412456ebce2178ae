# Sourced by the scripts that run Windows programs under 64-bit Wine.
# Usage: source scripts/wine-env.sh <prefix-dir>
_repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${1:-${DRIVERSETUP_WINEPREFIX:-$_repo/build/wine-test}}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installation prompts.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
unset _repo
