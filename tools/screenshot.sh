#!/usr/bin/env bash
# Inside the sandbox: starts a program under Wine on a Wine virtual desktop (which draws real
# title bars and frames without a window manager), waits for it to settle, saves a screenshot and
# ends the program.
# Usage: tools/screenshot.sh OUT.png program.exe [args...]
# VANTREL_DESKTOP (WIDTHxHEIGHT, default 1400x920) sizes the virtual desktop.
set -euo pipefail
out=$1
exe=$(winepath -w "$2")
shift 2
# The automatic update check asks loopback, never the release host.
wine reg add 'HKCU\Software\Corvalen\Vantrel' /v UpdateManifest /d https://localhost:9/latest.json /f >/dev/null 2>&1
size=${VANTREL_DESKTOP:-1400x920}
wine explorer /desktop=Vantrel,"$size" "$exe" "$@" &
pid=$!
sleep "${VANTREL_SCREENSHOT_DELAY:-8}"
import -window root -crop "$size+0+0" +repage "$out"
echo "Screenshot saved to $out"
kill "$pid" 2>/dev/null || true
