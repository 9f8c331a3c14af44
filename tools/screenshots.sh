#!/usr/bin/env bash
# Inside the sandbox: opens the demonstration window on a Wine virtual desktop and saves a
# screenshot of each bottom view (and of the Settings tab) into docs/.
# Usage: tools/sandbox.sh build/wine-shots tools/screenshots.sh BUILD_DIR
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
exe=$(winepath -w "$build/Vantrel.exe")
send=$(winepath -w "$build/tests/ui/send_command.exe")
# The automatic update check asks loopback, never the release host.
wine reg add 'HKCU\Software\Corvalen\Vantrel' /v UpdateManifest /d https://localhost:9/latest.json /f >/dev/null 2>&1
wine explorer /desktop=Vantrel,1400x920 "$exe" /demo &
pid=$!
sleep "${VANTREL_SCREENSHOT_DELAY:-10}"
shot() { sleep 2; import -window root -crop 1400x920+0+0 +repage "$top/docs/$1"; echo "saved docs/$1"; }
# The helper must run on the same Wine desktop to find the window.
send() { wine explorer /desktop=Vantrel,1400x920 "$send" "$@" || true; }
send 207 1
shot view-problems.png
cp "$top/docs/view-problems.png" "$top/docs/screenshot.png"
send 208; shot view-print-queue.png
send 209; shot view-windows-log.png
send 210; shot view-drivers.png
send 249; shot view-network-printers.png
send 207; send tab 1; shot tab-tools.png
send tab 1; shot tab-settings.png
send tab 1; shot tab-share.png
send tab 1; shot tab-help.png
send tab -4
send 236; shot help-how-to-use.png
send 213; shot history-undo.png
kill "$pid" 2>/dev/null || true
