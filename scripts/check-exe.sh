#!/usr/bin/env bash
# Checks a built TorvanPatch.exe: the expected PE format, the GUI subsystem, and imports from
# system DLLs only (the runtime is linked statically).
#   check-exe.sh <exe> pe32|pe32+
set -euo pipefail
exe=$1 want=$2
case "$want" in
    pe32) objdump=i686-w64-mingw32-objdump; format=pei-i386 ;;
    pe32+) objdump=x86_64-w64-mingw32-objdump; format=pei-x86-64 ;;
    *) echo "check-exe: unknown format $want" >&2; exit 2 ;;
esac
headers=$("$objdump" -p "$exe")
grep -q "file format $format" <<<"$headers" || { echo "check-exe: $exe is not $format" >&2; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || { echo "check-exe: $exe is not a GUI program" >&2; exit 1; }
system_dlls='^(KERNEL32|USER32|GDI32|ADVAPI32|msvcrt|COMCTL32|SHELL32|VERSION|api-ms-win-.*)\.dll$'
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$headers")
bad=$(grep -v -i -E "$system_dlls" <<<"$imports" || true)
if [ -n "$bad" ]; then
    echo "check-exe: $exe imports non-system DLLs: $bad" >&2
    exit 1
fi
echo "check-exe: $exe: $format, GUI subsystem, $(stat -c %s "$exe") bytes, imports: $(tr '\n' ' ' <<<"$imports")"
