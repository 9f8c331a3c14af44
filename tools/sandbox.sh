#!/usr/bin/env bash
# Runs a command inside a private network namespace that has only loopback, with a fresh Wine
# prefix and a private Xvfb display, so no test (and no mistake in one) can send a packet off this
# machine or depend on what an earlier run left behind. Wine's sockets are made by its wineserver,
# so the prefix's wineserver is started in here too. The mount namespace is private as well: a test
# may mount a small file system (the full-disk tests) that only this run sees, and the wineserver,
# which opens the files for the Windows programs, sees it too.
# Usage: tools/sandbox.sh PREFIX_DIR command [args...]
# VANTREL_SCREEN (WIDTHxHEIGHT, default 2560x1600) sets the display's size and VANTREL_LOGPIXELS the
# prefix's DPI (96 unless set). Run inside a sandbox already, it makes a second prefix and display
# of its own in the same network namespace: a test that needs another screen runs that way.
set -euo pipefail

if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  export VANTREL_SANDBOX=1
  exec unshare --net --mount -- "$0" "$@"
fi

ip link set lo up
prefix=$1
shift

export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$prefix"
mkdir -p "$prefix"
state=$(mktemp -d)

xvfb_pid=""
cleanup() {
  timeout 20 wineserver -k >/dev/null 2>&1 || true
  timeout 20 wineserver -w >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$state"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${VANTREL_SCREEN:-2560x1600}x24" -nolisten tcp 3>"$state/display" 2>"$state/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$state/display" ] && break
  sleep 0.1
done
[ -s "$state/display" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$state/display")"

# The prefix is made first and its server left to exit; the persistent server is started only
# afterwards, for one clean boot. A server already running while a new prefix is being made boots it
# twice, and the two service managers then lock each other's database: every service start answers
# "database locked" or times out, the spooler's included.
boot_failed() { echo "wineboot failed" >&2; cat "$state/wineboot.log" >&2; exit 1; }
timeout 180 wineboot -i >"$state/wineboot.log" 2>&1 || boot_failed
timeout 60 wineserver -w || true
# Every Windows has Marlett, which draws the caption buttons; Debian's Wine keeps its copy outside
# the prefix, where this build does not find it. It is in place before the boot that registers fonts.
[ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/"
# The DPI is the user's LogPixels, which every Wine process (the desktop's too) reads when it starts,
# so it is written while no server runs, before the boot that starts them.
if [ -n "${VANTREL_LOGPIXELS:-}" ]; then
  printf '\n[Control Panel\\\\Desktop] 0\n"LogPixels"=dword:%08x\n' "$VANTREL_LOGPIXELS" >>"$prefix/user.reg"
fi
wineserver -p
timeout 60 wineboot >>"$state/wineboot.log" 2>&1 || boot_failed

set +e
"$@"
rc=$?
set -e
exit $rc
