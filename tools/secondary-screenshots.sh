#!/usr/bin/env bash
# Inside the sandbox: shows the Settings page (full and scrolled in a short window), the update bar (with a made-up offer) and a notes
# window from the ui_secondary_tests program on a Wine virtual desktop and saves a screenshot of each.
# Usage: tools/sandbox.sh "$PWD/build/wine-test" tools/secondary-screenshots.sh OUT_DIR [TEST_EXE]
set -euo pipefail
out=${1:?output directory}
exe=$(winepath -w "${2:-build/tests/ui/ui_secondary_tests.exe}")
mkdir -p "$out"
shoot() { # mode file crop
  VANTREL_SHOW=$1 VANTREL_SHOW_SECONDS=14 wine explorer /desktop=Vantrel,1400x920 "$exe" \
    --gtest_filter=SecondaryWindows.ShowForScreenshot >/dev/null 2>&1 &
  local pid=$!
  sleep "${VANTREL_SCREENSHOT_DELAY:-10}"
  import -window root -crop "$3" +repage "$out/$2"
  echo "Screenshot saved to $out/$2"
  wait "$pid" || true
}
shoot page settings-page.png 1150x700+0+0
shoot short settings-page-short.png 1150x360+0+0
shoot bar update-bar.png 1150x72+0+0
shoot notes notes-window.png 1150x700+0+0
