#!/usr/bin/env bash
# A private CUPS server with one queue for the collector's end-to-end test: Wine lists CUPS queues
# as printers. Runs inside the test harness; listens only on a Unix socket in DIR.
# Usage: cupsd.sh start|stop DIR
set -euo pipefail
action=$1
d=$2

if [ "$action" = stop ]; then
  if [ -s "$d/state/cupsd.pid" ]; then
    kill "$(cat "$d/state/cupsd.pid")" 2>/dev/null || true
  fi
  exit 0
fi

if [ -s "$d/state/cupsd.pid" ]; then kill "$(cat "$d/state/cupsd.pid")" 2>/dev/null || true; fi
rm -rf "$d"
mkdir -p "$d"/{spool,cache,state,log,tmp}
cat >"$d/cupsd.conf" <<CONF
Listen $d/cups.sock
LogLevel warn
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
CONF
cat >"$d/cups-files.conf" <<CONF
ServerRoot $d
RequestRoot $d/spool
CacheDir $d/cache
StateDir $d/state
TempDir $d/tmp
ErrorLog $d/log/error_log
AccessLog $d/log/access_log
PageLog $d/log/page_log
FileDevice Yes
SystemGroup root
CONF
/usr/sbin/cupsd -c "$d/cupsd.conf" -s "$d/cups-files.conf"
for _ in $(seq 1 100); do
  [ -S "$d/cups.sock" ] && break
  sleep 0.1
done
[ -S "$d/cups.sock" ] || { echo "cupsd did not start" >&2; cat "$d/log/error_log" >&2 || true; exit 1; }
# A raw queue needs no driver; the warning that raw queues are deprecated is expected.
lpadmin -h "$d/cups.sock" -p VantrelCups -E -v file:///dev/null -m raw -D "Upstairs copier" -L "Upstairs" 2>/dev/null
lpstat -h "$d/cups.sock" -p VantrelCups >/dev/null
