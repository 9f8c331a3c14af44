#!/usr/bin/env bash
# Photographs the ribbon on every tab (Tools also with the expert tools, Home also with keyboard
# focus) under Wine. Run it inside the harness after building ui_ribbon_tests:
#   tools/sandbox.sh "$PWD/build/wine-test" tools/ribbon-screenshots.sh build/ribbon-shots
# The test program's Showcase test shows each tab and writes NAME.ready; this script then takes the
# screenshot NAME.png and answers with NAME.done.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "${1:-$top/build/ribbon-shots}" && cd "${1:-$top/build/ribbon-shots}" && pwd)
rm -f "$out"/*.ready "$out"/*.done
VANTREL_RIBBON_SHOTS=$(winepath -w "$out") wine "$top/build/tests/ui/ui_ribbon_tests.exe" \
  --gtest_filter=RibbonWindow.Showcase >"$out/test.log" 2>&1 &
pid=$!
for name in home tools settings share help tools-expert home-keyboard; do
  for _ in $(seq 1 300); do
    [ -f "$out/$name.ready" ] && break
    sleep 0.1
  done
  [ -f "$out/$name.ready" ] || { echo "no $name.ready" >&2; cat "$out/test.log" >&2; kill "$pid"; exit 1; }
  import -window root -crop 1400x330+0+0 +repage "$out/$name.png"
  touch "$out/$name.done"
  echo "$out/$name.png"
done
wait "$pid"
