#!/usr/bin/env bash
# Builds the bounded runner, the collector's network tests and the SNMP request counter natively
# with ThreadSanitizer and runs their checks; any data race fails the run.
# Usage: run_tsan.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1
work=$2
mkdir -p "$work"
g++ -std=c++17 -O1 -g -fsanitize=thread -I"$src" -o "$work/network_tests_tsan" \
  "$src/tests/collect/tsan/network_tests_tsan.cpp" "$src/core/parallel.cpp" "$src/collect/collector.cpp" \
  "$src/collect/collector_net.cpp" "$src/collect/collector_print.cpp" \
  "$src/core/classify.cpp" "$src/core/known.cpp" "$src/core/text.cpp" "$src/core/snapshot.cpp" "$src/core/print_policy.cpp" \
  "$src/net/ber.cpp" -lpthread
TSAN_OPTIONS="halt_on_error=1 exitcode=66" timeout 120 "$work/network_tests_tsan"
