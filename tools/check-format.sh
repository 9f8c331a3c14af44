#!/usr/bin/env bash
# Every C++ source of the project must already be as the checked-in .clang-format writes it.
# Usage: tools/check-format.sh [SOURCE_DIR]; exits non-zero and names each file that differs.
set -euo pipefail
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
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
