#!/usr/bin/env bash
# Benchmark of the network diagnostics (not a test). Inside the harness's loopback-only namespace it
# times each case beside an anchor measured in the same run, and prints the ratio:
#   - one network test of a healthy loopback printer with SNMP (Vantrel.exe /nettest);
#   - one network test of a silent address, against the longest of its waits (snmpget's two tries);
#   - /report of a PC with 16 printers at 16 silent addresses, against the same PC with one;
#   - searches of a loopback /24 with five printers and SNMP agents, of a /24 with five printers that
#     have no agent, and of a silent /24, against nmap and the SNMP wait of one responder;
#   - a search of two responders while the DNS server does not answer, against getent hosts (one
#     reverse lookup's whole wait) and the 3 s goal: the names are waited for 2 s at most.
# Usage: tools/bench_network.sh [BUILD_DIR]   (after tools/build.sh BUILD_DIR)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  [ -f "$build/tests/net/net_bench.exe" ] || "$top/tools/build.sh" "$build" net_bench >/dev/null
  exec "$top/tools/sandbox.sh" "$build/wine-bench" "$0" "$build"
fi
peers=$build/bench-peers
exe=$build/Vantrel.exe
bench=$build/tests/net/net_bench.exe
work=$(mktemp -d)
"$top/tests/peers/peers.sh" start "$peers" >/dev/null
listener_pid=""
cleanup() {
  [ -n "$listener_pid" ] && kill "$listener_pid" 2>/dev/null || true
  iptables -D INPUT -d 127.0.5.0/24 -p udp --dport 161 -j DROP 2>/dev/null || true
  "$top/tests/peers/peers.sh" stop "$peers" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

# Five printers with a print port and no SNMP agent; their SNMP datagrams vanish, as a printer with
# SNMP switched off lets them.
iptables -A INPUT -d 127.0.5.0/24 -p udp --dport 161 -j DROP
timeout 600 /usr/bin/python3 "$top/tests/peers/print_listeners.py" 600 \
  127.0.5.21:9100 127.0.5.22:9100 127.0.5.23:9100 127.0.5.24:9100 127.0.5.25:9100 >"$work/listeners.log" 2>&1 &
listener_pid=$!
for _ in $(seq 1 50); do grep -q listening "$work/listeners.log" && break; sleep 0.1; done

# The update check, were a window ever shown, asks loopback only.
wine reg add 'HKCU\Software\Corvalen\Vantrel' /v UpdateManifest /d https://localhost:9/latest.json /f >/dev/null 2>&1

ms() { date +%s%3N; }
# Milliseconds of a whole command.
timed() {
  local t0 t1
  t0=$(ms)
  "$@" >>"$work/out.log" 2>&1 || true
  t1=$(ms)
  echo $((t1 - t0))
}
# The search's own milliseconds, as net_bench prints them.
search_ms() { wine "$bench" search "$1" 2>>"$work/out.log" | tee -a "$work/out.log" | sed -n 's/^\([0-9]*\) ms.*/\1/p'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "?" }'; }
# name, ms, anchor ms, goal ms (or -), what the anchor is
row() {
  local verdict=""
  if [ "$4" != - ]; then
    verdict=$(awk -v t="${2:-0}" -v g="$4" 'BEGIN { printf "goal %d ms: %s", g, (t > 0 && t <= g) ? "met" : "MISSED" }')
  fi
  printf '%-58s %6s ms  anchor %6s ms  ratio %5s  %-22s %s\n' "$1" "${2:-?}" "${3:-?}" "$(ratio "${2:-0}" "${3:-0}")" "$verdict" "$5"
}

wine "$exe" /nettest 127.0.0.23 /quiet >/dev/null 2>&1 || true # warm Wine up
bare=$(timed wine "$bench")                                      # a bare Wine program start
healthy=$(timed wine "$exe" /nettest 127.0.0.21 /quiet)
silent=$(timed wine "$exe" /nettest 127.0.99.1 /quiet)
snmp_wait=$(timed snmpget -v1 -c public -t 1.2 -r 1 127.0.99.1 1.3.6.1.2.1.1.1.0)

wine "$bench" printers 1 >>"$work/out.log" 2>&1
one=$(timed wine "$exe" /report "$(winepath -w "$work/one.txt")" /scanrange 127.0.0.1/32)
wine "$bench" printers 16 >>"$work/out.log" 2>&1
sixteen=$(timed wine "$exe" /report "$(winepath -w "$work/sixteen.txt")" /scanrange 127.0.0.1/32)
wine "$bench" printers 0 >>"$work/out.log" 2>&1
tested=$(iconv -f utf-8 -t utf-8 "$work/sixteen.txt" 2>/dev/null | grep -c "Address: 127.0.99" || true)

agents=$(search_ms 127.0.0.0/24)
nmap_agents=$(timed nmap -sT -Pn -n --max-retries 0 -p 9100,515,631 127.0.0.0/24)
agentless=$(search_ms 127.0.5.0/24)
responder_wait=$(timed snmpget -v1 -c public -t 1.2 -r 1 127.0.5.21 1.3.6.1.2.1.1.1.0)
sweep=$(search_ms 127.0.99.0/24)
small=$(search_ms 127.0.0.20/30)
nmap_silent=$(timed nmap -sT -Pn -n -T5 -p 9100,515,631 127.0.99.0/24)

# A DNS server that never answers, for this part only: its own mount namespace gets a resolv.conf
# naming an address in the silent range.
printf 'nameserver 127.0.99.53\noptions timeout:5 attempts:2\n' >"$work/resolv.conf"
cat >"$work/dns.sh" <<SH
set -e
mount --bind "$work/resolv.conf" /etc/resolv.conf
t0=\$(date +%s%3N); getent hosts 127.0.0.21 >/dev/null || true; t1=\$(date +%s%3N)
echo "lookup \$((t1 - t0))"
wine "$bench" search 127.0.0.20/30
SH
unshare --mount bash "$work/dns.sh" >"$work/dns.log" 2>&1 || true
lookup=$(sed -n 's/^lookup \([0-9]*\)/\1/p' "$work/dns.log")
dns_search=$(sed -n 's/^\([0-9]*\) ms.*/\1/p' "$work/dns.log")

goal() { awk -v f="$1" -v a="${2:-0}" -v b="${3:-0}" 'BEGIN { printf "%d", f * a + b }'; }
echo "Network diagnostics under Wine: whole processes, or a search's own time; each beside an anchor of this run"
row "bare Wine program start" "$bare" "$bare" - ""
row "/nettest, healthy loopback printer with SNMP" "$healthy" "$bare" - "(bare start)"
row "/nettest, silent address (127.0.99.1 behind DROP)" "$silent" "$snmp_wait" 2600 \
  "(its longest wait: snmpget, 2 x 1.2 s)"
row "/report, 16 printers at silent addresses ($tested tested)" "$sixteen" "$one" "$(goal 1.2 "$one")" \
  "(the same PC with one printer)"
row "search, 127.0.0.0/24, 5 printers with SNMP" "$agents" "$((nmap_agents + responder_wait))" - \
  "(nmap -sT, ports only + one SNMP wait: 127.0.0.24's agent wants another community)"
row "search, 127.0.5.0/24, 5 printers without SNMP" "$agentless" "$((sweep + responder_wait))" \
  "$(goal 1.2 "$responder_wait" "$sweep")" "(silent sweep + one responder's SNMP wait)"
row "search, silent 127.0.99.0/24" "$sweep" "$nmap_silent" 5400 "(nmap -sT -Pn -T5; stretch 3600 ms)"
row "search, 127.0.0.20/30, 2 responders, DNS silent" "${dns_search:-}" "${lookup:-}" 3000 \
  "(getent hosts: one reverse lookup; the same search with DNS answering: $small ms)"
