#!/usr/bin/env bash
# Every C++ source of the project must already be as the checked-in .clang-format writes it.
# Usage: tools/check-format.sh [SOURCE_DIR]; exits non-zero and names each file that differs.
#        tools/check-format.sh --self-test: proves the check fails on a misformatted file.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
if [ "${1:-}" = --self-test ]; then
  d=$(mktemp -d)
  trap 'rm -rf "$d"' EXIT
  mkdir -p "$d/ui"
  cp "$here/.clang-format" "$d/"
  printf 'int  f( ){return 1;}\n' >"$d/ui/misformatted.cpp"
  if "$0" "$d" >/dev/null; then echo "the check passed a misformatted file" >&2; exit 1; fi
  clang-format -i "$d/ui/misformatted.cpp"
  "$0" "$d" >/dev/null || { echo "the check failed a formatted file" >&2; exit 1; }
  echo "the check fails on a misformatted file and passes it once formatted"
  exit 0
fi
top=${1:-$here}
cd "$top"
mapfile -t files < <(find app collect core fixes history net reports share ui update tests \
  \( -name '*.cpp' -o -name '*.h' \) -not -path '*/build/*' 2>/dev/null | sort)
bad=0
for f in "${files[@]}"; do
  if ! clang-format --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f (clang-format -i $f)"
    bad=1
  fi
done
echo "${#files[@]} files checked"
exit $bad
