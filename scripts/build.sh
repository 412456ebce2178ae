#!/usr/bin/env bash
# Configures and builds both builds of the tree: build/i686 (the product) and
# build/x86_64 (the same program and the tests).
set -euo pipefail
cd "$(dirname "$0")/.."
werror=ON
cmake -S . -B build/i686 -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DDRIVERSETUP_WERROR=$werror >/dev/null
cmake --build build/i686
cmake -S . -B build/x86_64 -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DDRIVERSETUP_TESTS=ON >/dev/null
cmake --build build/x86_64
