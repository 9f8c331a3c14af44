#!/usr/bin/env bash
# Start-up time of the window under Wine: from launching Vantrel.exe until its main window exists
# on the X display, for a cold start (no wineserver running yet) and warm starts (wineserver and
# files already in memory). Runs itself inside the sandbox.
# Usage: bench/start-time.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  exec "$top/tools/sandbox.sh" "$build/wine-bench" "$0" "$build"
fi
exe="$build/Vantrel.exe"

ms_now() { date +%s%3N; }
# One start, timed until the window exists; "cold" then stops the wineserver, a warm start only
# ends the program.
timed_start() {
  local t0 t1
  t0=$(ms_now)
  wine "$exe" /demo /scanrange 127.0.0.0/24 &
  local pid=$!
  for _ in $(seq 1 3000); do
    xwininfo -root -tree 2>/dev/null | grep -q 'Why Won' && break
    sleep 0.01
  done
  t1=$(ms_now)
  echo $((t1 - t0))
  if [ "$1" = cold ]; then wineserver -k >/dev/null 2>&1 || true; else kill "$pid" 2>/dev/null || true; fi
  wait "$pid" 2>/dev/null || true
  sleep 0.5
}

# The automatic update check asks loopback, never the release host.
wine reg add 'HKCU\Software\Corvalen\Vantrel' /v UpdateManifest /d https://localhost:9/latest.json /f >/dev/null 2>&1
# Measured first, on the freshly booted prefix: the cold start below stops the wineserver and with
# it the prefix's services, which a real check then waits for.
# The first verdict: from CreateProcess until the banner shows what the first check found, timed by
# a small Windows helper, against the helper's own bare start as the anchor (both warm).
helper="$build/tests/ui/first_verdict.exe"
if [ -f "$helper" ]; then
  exe_win=$(winepath -w "$exe")
  anchor_t0=$(ms_now); wine "$helper" >/dev/null; anchor=$(( $(ms_now) - anchor_t0 ))
  read -r shown verdict < <(wine "$helper" "$exe_win" /demo /scanrange 127.0.0.0/30)
  echo "bare Wine program start (anchor): $anchor ms"
  echo "demo window shown: $shown ms; first verdict: $verdict ms ($(awk -v v="$verdict" -v a="$anchor" 'BEGIN{printf "%.2f", v/a}') x anchor)"
  read -r shown verdict < <(wine "$helper" "$exe_win" /scanrange 127.0.0.0/30)
  echo "test-PC window shown: $shown ms; first verdict: $verdict ms ($(awk -v v="$verdict" -v a="$anchor" 'BEGIN{printf "%.2f", v/a}') x anchor)"
fi

echo "Vantrel.exe size: $(stat -c %s "$exe") bytes"
wineserver -k >/dev/null 2>&1 || true
sleep 1
echo "cold start (no wineserver running): $(timed_start cold) ms"
wineserver -p
sleep 1
for i in 1 2 3; do echo "warm start $i: $(timed_start warm) ms"; done
