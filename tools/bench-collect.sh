#!/usr/bin/env bash
# Benchmark of one check without network tests over 64 installed printers under Wine, against the
# floor of the bare Windows calls that check makes (ratio), plus the size of one snapshot. Runs in
# the harness (private network namespace, fresh prefix).
# Usage: tools/bench-collect.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
"$top/tools/build.sh" "$build" collect_bench >/dev/null
exec "$top/tools/sandbox.sh" "$build/bench-prefix" wine "$build/tests/collect/collect_bench.exe"
