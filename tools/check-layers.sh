#!/usr/bin/env bash
# The folders are layers: core at the bottom; collect, net, history, reports, update and share above
# it; fixes above those; ui above all of them; app on top (res/ holds the version and resource ids,
# which every layer may read). A folder may include its own headers and those of the layers below;
# folders of one layer may include each other's, but never in a circle. Reads the #include lines.
# Usage: tools/check-layers.sh [SOURCE_DIR]; exits non-zero and names each include that breaks a rule.
#        tools/check-layers.sh --self-test: proves the check fails on a planted upward include and
#        on two folders of one layer that include each other.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

if [ "${1:-}" = --self-test ]; then
  d=$(mktemp -d)
  trap 'rm -rf "$d"' EXIT
  for f in core net fixes ui app; do mkdir -p "$d/$f"; done
  printf '#include "core/a.h"\n' >"$d/net/a.cpp"
  printf '#include "net/a.h"\n#include "core/a.h"\n' >"$d/fixes/a.cpp"
  printf '#include "fixes/a.h"\n' >"$d/ui/a.cpp"
  printf '#include "ui/a.h"\n' >"$d/app/a.cpp"
  "$0" "$d" >/dev/null || { echo "the check failed a sound tree" >&2; exit 1; }
  printf '#include "ui/commands.h"\n' >"$d/net/up.cpp"
  if "$0" "$d" >/dev/null; then echo "the check passed net including ui" >&2; exit 1; fi
  rm "$d/net/up.cpp"
  mkdir -p "$d/history"
  printf '#include "net/a.h"\n' >"$d/history/a.cpp"
  printf '#include "history/a.h"\n' >"$d/net/b.cpp"
  if "$0" "$d" >/dev/null; then echo "the check passed net and history including each other" >&2; exit 1; fi
  echo "the check fails on an upward include and on a circle, and passes a sound tree"
  exit 0
fi

top=${1:-$here}
cd "$top"
declare -A level=([core]=1 [collect]=2 [net]=2 [history]=2 [reports]=2 [update]=2 [share]=2
                  [fixes]=3 [ui]=4 [app]=5 [res]=0)
declare -A edge=()
bad=0
for from in core collect net history reports update share fixes ui app; do
  [ -d "$from" ] || continue
  while IFS=: read -r file _ line; do
    to=$(sed -n 's|^#include "\([a-z]*\)/.*|\1|p' <<<"$line")
    [ -n "$to" ] && [ "$to" != "$from" ] || continue
    if [ -z "${level[$to]:-}" ]; then continue; fi
    if [ "${level[$to]}" -gt "${level[$from]}" ]; then
      echo "$file includes $to/, a layer above $from/: $line"
      bad=1
    fi
    edge["$from>$to"]="$file"
  done < <(grep -rn '^#include "' "$from" --include='*.cpp' --include='*.h' || true)
done
# Folders of one layer: no circle, however long.
reaches() { # reaches FROM TO SEEN
  local from=$1 to=$2 seen=$3 key next
  for key in "${!edge[@]}"; do
    [ "${key%%>*}" = "$from" ] || continue
    next=${key#*>}
    [ "$next" = "$to" ] && return 0
    case " $seen " in *" $next "*) continue ;; esac
    reaches "$next" "$to" "$seen $next" && return 0
  done
  return 1
}
for key in "${!edge[@]}"; do
  from=${key%%>*}
  to=${key#*>}
  if reaches "$to" "$from" "$to"; then
    echo "$from/ and $to/ include each other (${edge[$key]} includes $to/)"
    bad=1
  fi
done
echo "layers checked"
exit $bad
