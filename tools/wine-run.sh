#!/usr/bin/env bash
# CTest's emulator: runs one Windows test program under Wine in the harness's prefix. It refuses to
# run outside the harness, whose private network namespace keeps every packet on this machine.
set -u
if [ -z "${VANTREL_SANDBOX:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: run the tests through ./test.sh (or tools/sandbox.sh), not bare ctest" >&2
  exit 2
fi
exec wine "$@"
