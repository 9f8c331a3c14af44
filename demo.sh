#!/usr/bin/env bash
# Builds Vantrel and opens it with made-up demonstration printers ("/demo") under Wine: on your
# display when there is one, otherwise on a virtual one, saving a screenshot to build/demo.png.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh"
"$top/tools/build.sh" "$top/build" Vantrel
exe="$top/build/Vantrel.exe"

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  export WINEPREFIX="$top/build/wine-demo" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -d "$WINEPREFIX/drive_c/windows/Fonts" ]; then
    wineboot -i >/dev/null 2>&1
    # Marlett draws the caption buttons; Debian's Wine keeps its copy outside the prefix.
    [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  # The demonstration never asks the release host for updates: its manifest address is loopback.
  wine reg add 'HKCU\Software\Corvalen\Vantrel' /v UpdateManifest /d https://localhost:9/latest.json /f >/dev/null 2>&1
  exec wine "$exe" /demo
fi
exec "$top/tools/sandbox.sh" "$top/build/wine-demo" "$top/tools/screenshot.sh" "$top/build/demo.png" "$exe" /demo
