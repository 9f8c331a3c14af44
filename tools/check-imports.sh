#!/usr/bin/env bash
# The executable must stand alone: it may import only Windows' own DLLs, never the MinGW runtime
# (libstdc++, libgcc, libwinpthread). Usage: tools/check-imports.sh Vantrel.exe
set -euo pipefail
exe=$1
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
echo "$exe imports:" $imports
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|oleacc|comctl32|comdlg32|ws2_32|iphlpapi|winspool\.drv|wevtapi|winhttp|bcrypt|version|msvcrt|shlwapi|uxtheme|dnsapi|userenv|wtsapi32|secur32|crypt32|rpcrt4|mpr|dwmapi|ntdll)\.dll$|^winspool\.drv$'
bad=0
for dll in $imports; do
  lower=$(echo "$dll" | tr 'A-Z' 'a-z')
  if ! [[ $lower =~ $allowed ]]; then echo "not a Windows DLL: $dll"; bad=1; fi
done
subsystem=$(x86_64-w64-mingw32-objdump -p "$exe" | awk '/^Subsystem/ {print $2}')
[ "$subsystem" = "00000002" ] || { echo "subsystem is $subsystem, not the Windows GUI (2)"; bad=1; }
exit $bad
