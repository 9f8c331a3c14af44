#!/usr/bin/env bash
# The main window in high contrast (a black scheme) for docs/high-contrast.png. Wine cannot switch
# high contrast on, so the in-process test that drives it (ui_parts_tests, HighContrast.*) holds a
# window open for the shot; the prefix gets the scheme's colours and no visual styles first, as
# Windows draws the common controls in high contrast.
# Usage: tools/screenshot-high-contrast.sh BUILD_DIR OUT.png
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
out=$(realpath -m "$2")
"$here/tools/sandbox.sh" "$build/wine-high-contrast" bash -c '
  wine reg add "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager" /v ThemeActive /d 0 /f >/dev/null 2>&1
  for kv in "Window=0 0 0" "WindowText=255 255 255" "ButtonFace=0 0 0" "ButtonText=255 255 255" \
            "Hilight=26 235 255" "HilightText=0 0 0" "HotTrackingColor=255 255 0" "GrayText=63 242 63" \
            "InfoWindow=0 0 0" "InfoText=255 255 255" "ButtonShadow=255 255 255" "ButtonHilight=255 255 255" \
            "WindowFrame=255 255 255" "Scrollbar=0 0 0"; do
    wine reg add "HKCU\\Control Panel\\Colors" /v "${kv%%=*}" /d "${kv#*=}" /f >/dev/null 2>&1
  done
  VANTREL_HIGH_CONTRAST_SHOT=1 timeout 120 wine "'"$build"'/tests/ui/ui_parts_tests.exe" \
    --gtest_filter=HighContrast.* >/dev/null 2>&1 &
  sleep 18
  import -window root "'"$out"'.full.png"
  wait || true'
convert "$out.full.png" -trim +repage "$out"
rm -f "$out.full.png"
echo "Screenshot saved to $out"
