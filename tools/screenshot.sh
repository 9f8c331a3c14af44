#!/usr/bin/env bash
# Inside the sandbox: starts a program under Wine, waits until its window has settled, saves a
# screenshot of the virtual screen, and ends the program.
# Usage: tools/screenshot.sh OUT.png program.exe [args...]
set -euo pipefail
out=$1
shift
wine "$@" &
pid=$!
# Up to 30 s for a window titled Vantrel to appear, then a moment to paint.
for _ in $(seq 1 60); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Vantrel' && break
  sleep 0.5
done
sleep 3
import -window root "$out"
echo "Screenshot saved to $out"
kill "$pid" 2>/dev/null || true
