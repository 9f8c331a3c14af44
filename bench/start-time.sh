#!/usr/bin/env bash
# Start-up time of the window under Wine: from launching Vantrel.exe until its main window exists
# on the X display, for a cold start (no wineserver running yet) and warm starts (wineserver and
# files already in memory); the first verdict's time after the window is shown; and what an open,
# idle window costs: resident memory and CPU per idle minute, of the demonstration window and the
# test PC's. Each beside an empty Win32 window built the same way (tests/ui/empty_window.cpp),
# measured in the same run, with the goals. Runs itself inside the sandbox.
# Usage: bench/start-time.sh [BUILD_DIR]   (IDLE_SECONDS: the idle time measured, 60 by default)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
if [ "${VANTREL_SANDBOX:-}" != 1 ]; then
  exec "$top/tools/sandbox.sh" "$build/wine-bench" "$0" "$build"
fi
exe=${BENCH_EXE:-$build/Vantrel.exe} # another build of the exe may be timed beside the same anchors

ms_now() { date +%s%3N; }
# One start, timed until the window exists; "cold" then stops the wineserver, a warm start only
# ends the program.
timed_start() {
  local t0 t1
  t0=$(ms_now)
  wine "$exe" /demo /scanrange 127.0.0.0/24 &
  local pid=$!
  for _ in $(seq 1 3000); do
    xwininfo -root -tree 2>/dev/null | grep -q 'Why Won' && break
    sleep 0.01
  done
  t1=$(ms_now)
  echo $((t1 - t0))
  if [ "$1" = cold ]; then wineserver -k >/dev/null 2>&1 || true; else kill "$pid" 2>/dev/null || true; fi
  wait "$pid" 2>/dev/null || true
  sleep 0.5
}

# The automatic update check asks loopback, never the release host.
wine reg add 'HKCU\Software\Corvalen\Vantrel' /v UpdateManifest /d https://localhost:9/latest.json /f >/dev/null 2>&1
# Measured first, on the freshly booted prefix: the cold start below stops the wineserver and with
# it the prefix's services, which a real check then waits for.
# The first verdict: from CreateProcess until the banner shows what the first check found on the
# screen (the helper reads the banner's colour back from the display), timed by a small Windows
# helper, against the helper's own bare start as the anchor (both warm). The helper also times when
# the window has finished its first frame and answers another program (the banner's text through
# WM_GETTEXT, which waits while the window's thread paints its lists).
helper="$build/tests/ui/first_verdict.exe"
empty="$build/tests/ui/empty_window.exe"
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'; }
met() { awk -v v="$1" -v g="$2" 'BEGIN { printf "goal %s: %s", g, (v <= g) ? "met" : "MISSED" }'; }
if [ -f "$helper" ] && [ -f "$empty" ]; then
  exe_win=$(winepath -w "$exe")
  wine "$helper" /empty "$(winepath -w "$empty")" >/dev/null # warm Wine up
  anchor_t0=$(ms_now); wine "$helper" >/dev/null; anchor=$(( $(ms_now) - anchor_t0 ))
  read -r empty_shown _ < <(wine "$helper" /empty "$(winepath -w "$empty")" | tr -d '\r')
  echo "bare Wine program start (anchor): $anchor ms; empty Win32 window shown: $empty_shown ms"
  for mode in demo test-PC; do
    args="/scanrange 127.0.0.0/30"
    [ "$mode" = demo ] && args="/demo $args"
    # shellcheck disable=SC2086
    read -r shown verdict frame < <(wine "$helper" "$exe_win" $args | tr -d '\r')
    after=$((verdict - shown))
    printf '%-8s window shown: %4d ms (%s x the empty window); first verdict on the screen %4d ms after it, %s;\n' \
      "$mode" "$shown" "$(ratio "$shown" "$empty_shown")" "$after" "$(met "$after" 100)"
    printf '%-8s first frame done (the banner answers another program) %4d ms after it\n' "" "$((frame - shown))"
  done
fi

# What an open window costs while nobody uses it: its process's resident memory once it has
# settled and again after the idle seconds (the first automatic update check, 30 s after start,
# falls between them; it runs in a copy of the program, so WinHTTP and TLS never enter the
# window's process), and the CPU time (user + system, from /proc) it takes over those idle seconds.
idle=${IDLE_SECONDS:-60}
settle=8
# The process of this prefix (other programs may run beside the sandbox) whose program is $1.
in_prefix() { tr '\0' '\n' 2>/dev/null <"/proc/$1/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX"; }
unix_pid_of() {
  local p
  for p in /proc/[0-9]*; do
    head -zn1 "$p/cmdline" 2>/dev/null | tr -d '\0' | grep -q "$1\$" && in_prefix "${p#/proc/}" &&
      { echo "${p#/proc/}"; return 0; }
  done
  return 1
}
# Both print nothing (and succeed) once the process is gone, so a lost process is reported, not
# taken for the end of the script.
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{ printf "%d", ($14 + $15) * 1000 / hz }' "/proc/$1/stat" 2>/dev/null || true; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null || true; }
# name, exe, args...: prints "settled_rss_kb rss_kb cpu_ms_per_minute wineserver_ms_per_minute"
idle_cost() {
  local name=$1 file=$2
  shift 2
  # A copy still closing from an earlier measurement would be taken for the new one (and would
  # take the new one's place as the single instance).
  for _ in $(seq 1 100); do unix_pid_of "$name" >/dev/null || break; sleep 0.1; done
  wine "$file" "$@" >/dev/null 2>&1 &
  # wine becomes the program: the launched process is the one measured.
  local pid=$!
  for _ in $(seq 1 500); do
    head -zn1 "/proc/$pid/cmdline" 2>/dev/null | tr -d '\0' | grep -q "$name\$" && break
    sleep 0.02
  done
  sleep "$settle"
  # The wineserver's time is shown beside: it works for the program (timers, messages, window
  # changes) but also for the prefix's own processes, as the empty window's figure shows.
  local server c0 c1 s0 s1 rss rss0
  server=$(unix_pid_of "wineserver[0-9]*" || true)
  rss0=$(rss_kb "$pid")
  c0=$(cpu_ms "$pid")
  s0=$(cpu_ms "$server")
  sleep "$idle"
  c1=$(cpu_ms "$pid")
  s1=$(cpu_ms "$server")
  rss=$(rss_kb "$pid")
  if [ -z "$rss0" ] || [ -z "$rss" ] || [ -z "$c1" ]; then
    echo "$name ended during the measurement" >&2
    kill "$pid" 2>/dev/null || true
    echo "- - - -"
    return 0
  fi
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  # Gone before the next copy starts, which would otherwise find it and hand over to it.
  for _ in $(seq 1 100); do [ -d "/proc/$pid" ] || break; sleep 0.1; done
  sleep 1
  echo "$rss0 $rss $(( (c1 - c0) * 60 / idle )) $(( (${s1:-0} - ${s0:-0}) * 60 / idle ))"
}
if [ -f "$empty" ]; then
  read -r _ empty_rss empty_cpu empty_server < <(idle_cost empty_window.exe "$empty")
  mb() { awk -v k="$1" 'BEGIN{printf "%.1f", k / 1024}'; }
  printf 'empty Win32 window (anchor): resident %s MB; CPU %d ms per idle minute (+ wineserver %d ms)\n' \
    "$(mb "$empty_rss")" "$empty_cpu" "$empty_server"
  for mode in demo test-PC; do
    args=(/scanrange 127.0.0.0/30)
    [ "$mode" = demo ] && args=(/demo "${args[@]}")
    goal=100
    [ "$mode" = demo ] && goal=60
    read -r rss0 rss cpu server < <(idle_cost "$(basename "$exe")" "$exe" "${args[@]}")
    if [ "$rss0" = - ]; then echo "$mode window: not measured (the process was lost)"; continue; fi
    # The memory goal is the demonstration window's; the test PC's window reads a real PC (and
    # maps the print client for it), so its figure is shown without one.
    if [ "$mode" = demo ]; then
      printf '%-8s window: resident %s MB settled (%s x the empty window, %s), %s MB after the idle minute (%s x, %s)\n' \
        "$mode" "$(mb "$rss0")" "$(ratio "$rss0" "$empty_rss")" "$(met "$(ratio "$rss0" "$empty_rss")" 1.5)" \
        "$(mb "$rss")" "$(ratio "$rss" "$empty_rss")" "$(met "$(ratio "$rss" "$empty_rss")" 1.5)"
    else
      printf '%-8s window: resident %s MB settled (%s x the empty window), %s MB after the idle minute (%s x)\n' \
        "$mode" "$(mb "$rss0")" "$(ratio "$rss0" "$empty_rss")" "$(mb "$rss")" "$(ratio "$rss" "$empty_rss")"
    fi
    printf '%-8s window: CPU %d ms per idle minute (%s; + wineserver %d ms)\n' "$mode" "$cpu" "$(met "$cpu" "$goal")" "$server"
  done
  # The update check runs in a copy of the program ("/updatecheck"), so neither figure above has
  # it: what that copy costs, once at the first 30-second tick and then every 6 hours, fetching
  # from the same refusing address as the windows above.
  timing=$(mktemp)
  /usr/bin/time -o "$timing" -f "%e %U %S %M" wine "$exe" /updatecheck https://localhost:9/latest.json >/dev/null 2>&1 || true
  read -r wall user system peak < <(tail -n1 "$timing")
  rm -f "$timing"
  awk -v w="$wall" -v u="$user" -v s="$system" -v p="$peak" 'BEGIN {
    printf "update check in its own process: %d ms, CPU %d ms, at most %.1f MB resident, once every 6 hours\n", w * 1000, (u + s) * 1000, p / 1024 }'
fi

echo "Vantrel.exe size: $(stat -c %s "$exe") bytes"
wineserver -k >/dev/null 2>&1 || true
sleep 1
echo "cold start (no wineserver running): $(timed_start cold) ms"
wineserver -p
sleep 1
for i in 1 2 3; do echo "warm start $i: $(timed_start warm) ms"; done
