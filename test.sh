#!/usr/bin/env bash
# Installs what is needed, builds the product (i686) and the tests (x86_64), and
# runs every test: the tests under 64-bit Wine, the product's import check.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
scripts/build.sh

scripts/wine-prefix.sh "$PWD/build/wine-test" null
trap 'WINEPREFIX="$PWD/build/wine-test" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true' EXIT
export DRIVERSETUP_WINEPREFIX="$PWD/build/wine-test"

# A test process that Wine fails to start at all runs once more; a test that
# fails for its own reasons fails again.
status=0
ctest --test-dir build/i686 --output-on-failure || status=1
ctest --test-dir build/x86_64 --output-on-failure -j2 --repeat until-pass:2 || status=1
exit "$status"
