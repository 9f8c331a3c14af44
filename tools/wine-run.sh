#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under Wine in the harness's prefix. It refuses to
# run outside the harness, whose private network namespace keeps every packet on this machine.
#
# The program's output goes through a file, not straight to CTest's pipe: a Wine process that the
# test starts (the desktop process explorer.exe, started by the first window when none answers,
# or a second copy of a program) inherits the test's standard handles and can outlive it, and
# CTest would then wait for the pipe to close until the test's time-out.
set -u
if [ -z "${VANTREL_SANDBOX:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: run the tests through ./test.sh (or tools/sandbox.sh), not bare ctest" >&2
  exit 2
fi
out=$(mktemp)
trap 'rm -f "$out"' EXIT
wine "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
exit $rc
