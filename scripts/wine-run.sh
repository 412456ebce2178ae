#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the test prefix. CMake uses it as
# the cross-compiling emulator, so ctest runs every test executable through it.
source "$(dirname "${BASH_SOURCE[0]}")/wine-env.sh" "${DRIVERSETUP_WINEPREFIX:-}"
exec "$WINE64" "$@"
