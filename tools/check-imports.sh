#!/usr/bin/env bash
# The executable must stand alone: it may import only Windows' own DLLs, never the MinGW runtime
# (libstdc++, libgcc, libwinpthread). The delay-loaded ones count too: MinGW's delay-import
# libraries leave the PE's delay-import directory empty and keep each DLL's name as a plain string
# beside their descriptors, so they are found among the file's strings, and the ones the program
# must not load at start (they bring the print client, TLS or the accessibility stack) are checked
# to stay delay-loaded. Usage: tools/check-imports.sh Vantrel.exe
set -euo pipefail
exe=$1
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "$exe imports:" $imports
named=$(strings -n 5 "$exe" | grep -iE '^[A-Za-z0-9_-]+[.](dll|drv)$' | sort -uf)
delayed=$(comm -23 <(echo "$named" | tr 'A-Z' 'a-z' | sort -u) <(echo "$imports" | tr ' ' '\n' | tr 'A-Z' 'a-z' | sort -u))
echo "delay-loaded:" $delayed
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|oleacc|comctl32|comdlg32|ws2_32|iphlpapi|winspool\.drv|wevtapi|winhttp|bcrypt|version|msvcrt|shlwapi|uxtheme|dnsapi|userenv|wtsapi32|secur32|crypt32|rpcrt4|mpr|dwmapi|ntdll)\.dll$|^winspool\.drv$'
bad=0
for dll in $imports $delayed; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if ! [[ $lower =~ $allowed ]]; then echo "not a Windows DLL: $dll"; bad=1; fi
done
for dll in winspool.drv winhttp.dll bcrypt.dll comdlg32.dll oleacc.dll oleaut32.dll; do
  echo "$imports" | tr ' ' '\n' | grep -qixF "$dll" && { echo "$dll is loaded at start, not delay-loaded"; bad=1; }
done
subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/^Subsystem/ {print $2}')
[ "$subsystem" = "00000002" ] || { echo "subsystem is $subsystem, not the Windows GUI (2)"; bad=1; }
exit $bad
