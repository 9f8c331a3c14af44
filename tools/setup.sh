#!/usr/bin/env bash
# Installs, quietly and only when missing, the Debian packages that building and testing Vantrel
# need: the MinGW-w64 cross compiler, CMake, Wine, a virtual X server and GoogleTest's sources.
set -euo pipefail

packages=(
  cmake make
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 fonts-wine
  xvfb x11-utils imagemagick time
  googletest
  iproute2 util-linux
  cups-daemon cups-client
  snmpsim snmp tshark nmap iptables python3 python3-jsonschema openssl clang clang-format libclang-rt-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq >/dev/null
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
