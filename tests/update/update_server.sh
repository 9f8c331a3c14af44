#!/usr/bin/env bash
# Starts or stops the release server of the update tests, inside the harness's private network
# namespace only. Usage: update_server.sh start|stop STATE_DIR [VANTREL_EXE]
set -euo pipefail
action=$1
state=$2
here=$(cd "$(dirname "$0")" && pwd)
lifetime=900 # the server ends by itself after this many seconds
address=127.0.0.1
port=8443

if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  echo "update_server.sh: only inside the test harness's private network namespace" >&2
  exit 2
fi

stop() {
  if [ -f "$state/pid" ]; then
    kill "$(cat "$state/pid")" 2>/dev/null || true
    rm -f "$state/pid"
  fi
}

case "$action" in
start)
  stop
  rm -rf "$state"
  mkdir -p "$state"
  ip link set lo up
  timeout "$lifetime" /usr/bin/python3 "$here/update_server.py" "$state" "$3" "$address" "$port" "$lifetime" \
    >"$state/server.log" 2>&1 &
  echo $! >"$state/pid"
  for _ in $(seq 1 150); do grep -q listening "$state/server.log" && break; sleep 0.1; done
  grep -q listening "$state/server.log" || { echo "update_server.sh: server did not start" >&2; cat "$state/server.log" >&2; exit 1; }
  echo "update server up at $(cat "$state/base_url")"
  ;;
stop)
  stop
  ;;
esac
