#!/usr/bin/env bash
# Benchmark of the network diagnostics (not a test): times, inside the harness's loopback-only
# namespace, one network test of a healthy loopback printer with SNMP, one of an address where
# nothing answers, and a search over a loopback /24 with five printers; then the same /24 swept by
# nmap in the same run, and the ratio. Usage: tools/bench_network.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  exec "$top/tools/sandbox.sh" "$build/wine-bench" "$0" "$build"
fi
peers=$build/bench-peers
"$top/tests/peers/peers.sh" start "$peers" >/dev/null
trap '"$top/tests/peers/peers.sh" stop "$peers" >/dev/null 2>&1 || true' EXIT
ms() { date +%s%3N; }
exe=$build/Vantrel.exe
wine "$exe" /nettest 127.0.0.23 /quiet >/dev/null 2>&1 || true # warm Wine up
t0=$(ms); wine "$exe" /nettest 127.0.0.21 /quiet >/dev/null 2>&1; t1=$(ms)
wine "$exe" /nettest 127.0.99.1 /quiet >/dev/null 2>&1; t2=$(ms)
VANTREL_PEERS=$peers wine "$build/tests/net/net_peer_tests.exe" \
  --gtest_filter=SearchPeer.ALoopbackSlash24FindsExactlyItsPrintersSorted >"$peers/search.log" 2>&1 || true
search_ms=$(sed -n 's/.*OK \] SearchPeer.ALoopbackSlash24FindsExactlyItsPrintersSorted (\([0-9]*\) ms).*/\1/p' "$peers/search.log")
t3=$(ms); nmap -sT -Pn -n --max-retries 0 -p 9100,515,631 127.0.0.0/24 >"$peers/nmap.log" 2>&1; t4=$(ms)
echo "network test, healthy loopback printer with SNMP (Vantrel.exe /nettest, whole process): $((t1 - t0)) ms"
echo "network test, nothing answers (127.0.99.1 behind DROP):                              $((t2 - t1)) ms"
echo "search of 127.0.0.0/24 with 5 printers, SNMP on (run_network_search):              ${search_ms:-?} ms"
echo "nmap -sT -Pn -n --max-retries 0 -p 9100,515,631 127.0.0.0/24 (ports only):        $((t4 - t3)) ms"
[ -n "$search_ms" ] && awk -v a="$search_ms" -v b="$((t4 - t3))" 'BEGIN { printf "ratio search / nmap: %.2f\n", a / b }'
