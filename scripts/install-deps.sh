#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the program need.
# Idempotent: does nothing when everything is already there. Never installs wine32.
set -euo pipefail

packages=(
  wine64
  g++-mingw-w64-x86-64-posix
  g++-mingw-w64-i686-posix
  g++-mingw-w64-i686-win32
  cmake
  ninja-build
  googletest
  xvfb
  twm
  xfonts-base
  imagemagick
  python3
  gcab
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -q
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
