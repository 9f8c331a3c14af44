#!/usr/bin/env bash
# Starts or stops the network peers of the net tests, inside the harness's private namespace only:
# printers' SNMP agents (snmpsimd, one per loopback address and personality), a lying agent, print
# port listeners, two print servers (127.0.0.50 on RPC and sharing, 127.0.0.51 on sharing only), a DROP rule that makes 127.0.99.0/24 silent, and a capture of every request sent
# to port 161 so the wire format can be checked afterwards.
# Usage: peers.sh start|stop|check STATE_DIR
set -euo pipefail
action=$1
state=$2
here=$(cd "$(dirname "$0")" && pwd)
lifetime=900 # every peer ends by itself after this many seconds

if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  echo "peers.sh: only inside the test harness's private network namespace" >&2
  exit 2
fi

# Addresses and their personalities (the net tests and the benchmark use the same table).
agents=(
  "127.0.0.21 laser"
  "127.0.0.22 copier"
  "127.0.0.23 nomib"
  "127.0.0.24 private"
  "127.0.0.25 latin"
)
ports=(
  127.0.0.21:9100 127.0.0.21:80 127.0.0.21:443
  127.0.0.22:9100 127.0.0.22:515
  127.0.0.23:631
  127.0.0.24:9100
  127.0.0.25:9100 127.0.0.25:631
  127.0.0.30:80
  127.0.0.50:135 127.0.0.50:445
  127.0.0.51:445
)

stop() {
  if [ -d "$state/pids" ]; then
    for f in "$state"/pids/*; do
      [ -f "$f" ] || continue
      pid=$(cat "$f")
      kill "$pid" 2>/dev/null || true
    done
    sleep 0.3
    for f in "$state"/pids/*; do
      [ -f "$f" ] || continue
      kill -9 "$(cat "$f")" 2>/dev/null || true
      rm -f "$f"
    done
  fi
  iptables -D INPUT -d 127.0.99.0/24 -j DROP 2>/dev/null || true
}

wait_snmp() { # address community
  for _ in $(seq 1 100); do
    snmpget -v1 -c "$2" -t 0.2 -r 0 "$1" 1.3.6.1.2.1.1.1.0 >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "peers.sh: no SNMP agent answered at $1" >&2
  return 1
}

case "$action" in
start)
  stop
  rm -rf "$state"
  mkdir -p "$state/pids" "$state/cache"
  chmod 777 "$state/cache"
  ip link set lo up
  iptables -A INPUT -d 127.0.99.0/24 -j DROP

  timeout "$lifetime" tshark -q -i lo -f "udp dst port 161" -w "$state/requests.pcap" >"$state/tshark.log" 2>&1 &
  echo $! >"$state/pids/tshark"

  for entry in "${agents[@]}"; do
    set -- $entry
    addr=$1 name=$2
    mkdir -p "$state/data-$name" "$state/cache/$name"
    cp "$here/snmp/$name"/*.snmprec "$state/data-$name/"
    chmod -R a+rX "$state/data-$name"
    chmod 777 "$state/cache/$name"
    timeout "$lifetime" snmpsimd --data-dir="$state/data-$name" --cache-dir="$state/cache/$name" \
      --agent-udpv4-endpoint="$addr:161" --process-user=nobody --process-group=nogroup \
      --logging-method=null >"$state/snmpsimd-$name.log" 2>&1 &
    echo $! >"$state/pids/snmpsimd-$name"
  done

  timeout "$lifetime" /usr/bin/python3 "$here/liar_agent.py" 127.0.0.30 127.0.0.31 "$lifetime" \
    >"$state/liar.log" 2>&1 &
  echo $! >"$state/pids/liar"
  timeout "$lifetime" /usr/bin/python3 "$here/print_listeners.py" "$lifetime" "${ports[@]}" \
    >"$state/listeners.log" 2>&1 &
  echo $! >"$state/pids/listeners"

  wait_snmp 127.0.0.21 public
  wait_snmp 127.0.0.22 public
  wait_snmp 127.0.0.23 public
  wait_snmp 127.0.0.24 corpnet
  wait_snmp 127.0.0.25 public
  wait_snmp 127.0.0.30 public
  for _ in $(seq 1 50); do grep -q listening "$state/listeners.log" && break; sleep 0.1; done
  grep -q listening "$state/listeners.log" || { echo "peers.sh: listeners did not start" >&2; cat "$state/listeners.log" >&2; exit 1; }
  # Let the capture settle so our own readiness probes are in it but nothing later is lost.
  for _ in $(seq 1 50); do [ -s "$state/requests.pcap" ] && break; sleep 0.1; done
  echo "peers up"
  ;;
check)
  # Every request Vantrel sent must decode as a well-formed SNMPv1 GetRequest with a NULL value.
  kill "$(cat "$state/pids/tshark")" 2>/dev/null || true
  sleep 1
  total=$(tshark -r "$state/requests.pcap" -Y "snmp" 2>/dev/null | wc -l)
  bad=$(tshark -r "$state/requests.pcap" -Y "snmp && (_ws.malformed || _ws.expert.severity >= 6291456 || snmp.version != 0 || !snmp.get_request_element || !snmp.value.null)" 2>/dev/null | wc -l)
  ours=$(tshark -r "$state/requests.pcap" -Y "snmp.request_id >= 4097 && snmp.request_id < 1000000" 2>/dev/null | wc -l)
  echo "requests captured: $total, from the client under test: $ours, not well-formed: $bad"
  if [ "$bad" -ne 0 ]; then
    tshark -r "$state/requests.pcap" -Y "snmp && (_ws.malformed || _ws.expert.severity >= 6291456 || snmp.version != 0 || !snmp.get_request_element || !snmp.value.null)" -V 2>/dev/null | head -80
    exit 1
  fi
  [ "$ours" -gt 0 ] || { echo "no request of the client was captured" >&2; exit 1; }
  ;;
stop)
  stop
  ;;
esac
