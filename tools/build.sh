#!/usr/bin/env bash
# Configures (once) and builds Vantrel.exe and the test programs with the MinGW-w64 toolchain.
# Usage: tools/build.sh BUILD_DIR [targets...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
shift || true
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
if [ $# -gt 0 ]; then
  for t in "$@"; do cmake --build "$build" -j"$(nproc)" --target "$t"; done
else
  cmake --build "$build" -j"$(nproc)"
fi
