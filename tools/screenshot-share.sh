#!/usr/bin/env bash
# Inside the sandbox: opens the demonstration window on a Wine virtual desktop and saves screenshots
# of the Share window (with a name typed in) and of the About box into docs/.
# Usage: tools/sandbox.sh build/wine-shots tools/screenshot-share.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
exe=$(winepath -w "$build/Vantrel.exe")
send=$(winepath -w "$build/tests/ui/send_command.exe")
shot() { sleep 2; import -window root -crop 1400x920+0+0 +repage "$top/docs/$1"; echo "saved docs/$1"; }
# The helper must run on the same Wine desktop to find the window.
send() { wine explorer /desktop=Vantrel,1400x920 "$send" "$@" || true; }
start() {
  wine explorer /desktop=Vantrel,1400x920 "$exe" /demo &
  pid=$!
  sleep "${VANTREL_SCREENSHOT_DELAY:-10}"
}
start
send 230
shot share-window.png
kill "$pid" 2>/dev/null || true
wineserver -k 2>/dev/null || true
sleep 2
# The About box is modal, so the helper that asked for it waits in the background.
start
send 239 &
shot about-box.png
kill "$pid" 2>/dev/null || true
