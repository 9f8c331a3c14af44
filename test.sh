#!/usr/bin/env bash
# Builds Vantrel and every test program, then runs them all under Wine in the sandbox (private
# network namespace, fresh Wine prefix, private X display). Installs whatever is missing first.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh"
"$top/tools/build.sh" "$top/build"
exec "$top/tools/sandbox.sh" "$top/build/wine-test" ctest --test-dir "$top/build" --output-on-failure
