#!/usr/bin/env bash
# A small file system for the full-disk report tests: a 256 KiB tmpfs on DIR, mounted inside the
# harness's private mount namespace (tools/sandbox.sh), so neither this machine nor another run ever
# sees it, and it goes when the harness ends. The tests fill it themselves.
# Usage: small_disk.sh start DIR | stop DIR
set -euo pipefail
if [ "${VANTREL_SANDBOX:-}" != 1 ] || [ "$(readlink /proc/self/ns/mnt)" = "$(readlink /proc/1/ns/mnt)" ]; then
  echo "small_disk.sh: only inside the test harness's private mount namespace" >&2
  exit 2
fi
dir=$2
case $1 in
start)
  mkdir -p "$dir"
  if mountpoint -q "$dir"; then umount "$dir"; fi
  mount -t tmpfs -o size=256k,mode=0777 vantrel-small-disk "$dir"
  ;;
stop)
  if mountpoint -q "$dir"; then umount "$dir"; fi
  ;;
esac
