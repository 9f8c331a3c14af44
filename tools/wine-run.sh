#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under Wine in the harness's prefix. It refuses to
# run outside the harness, whose private network namespace keeps every packet on this machine.
set -u
if [ -z "${VANTREL_SANDBOX:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: run the tests through ./test.sh (or tools/sandbox.sh), not bare ctest" >&2
  exit 2
fi

# Wine closes a desktop about a second after its last user leaves, so between two test programs
# the desktop process may end, and the next program's first window then races its closing or
# starts a new desktop process. One keeper holds the desktop for the whole run; its output goes
# to /dev/null so nothing it starts holds CTest's pipe.
keeper=${VANTREL_DESKTOP_KEEPER:-}
ready="$WINEPREFIX/desktop-keeper.ready"
if [ -n "$keeper" ] && [ ! -e "$ready" ]; then
  setsid wine "$keeper" "$(winepath -w "$ready")" </dev/null >/dev/null 2>&1 &
  for _ in $(seq 1 200); do [ -e "$ready" ] && break; sleep 0.05; done
fi

# The program's output goes through a file, not straight to CTest's pipe: a Wine process that the
# test starts (a second copy of a program, say) inherits the test's standard handles and can
# outlive it, and CTest would then wait for the pipe to close until the test's time-out.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
exit $rc
