#!/usr/bin/env bash
# Checks a built TorvanPatch.exe: PE32, the GUI subsystem, at most 36 KiB, imports from ADVAPI32,
# KERNEL32, msvcrt and USER32 only (the runtime is linked statically), exactly those listed in
# tests/TorvanPatch.imports, the version of app/Version.h and the manifest, and that
# Windows XP SP3 can load it: header versions at most 5.1 and no imported function XP SP3 lacks.
#   check-exe.sh <exe>
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
exe=$1 objdump=i686-w64-mingw32-objdump format=pei-i386
fail() { echo "check-exe: $exe: $*" >&2; exit 1; }
headers=$("$objdump" -p "$exe")
grep -q "file format $format" <<<"$headers" || fail "not $format"
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || fail "not a GUI program"
# Four system DLLs, and nothing else: the runtime is linked statically.
allowed_dlls='^(ADVAPI32|KERNEL32|msvcrt|USER32)\.dll$'
dlls=$(sed -n 's/^\tDLL Name: //p' <<<"$headers")
if [ -z "$dlls" ]; then fail "no imported DLL could be read"; fi
bad=$(grep -v -i -E "$allowed_dlls" <<<"$dlls" || true)
if [ -n "$bad" ]; then fail "imports DLLs beyond ADVAPI32, KERNEL32, msvcrt and USER32: $(paste -sd' ' <<<"$bad")"; fi

# "DLL function" per imported name, from binutils 2.44's import tables: each DLL's "vma: Ordinal
# Hint Member-Name Bound-To" heading, then a row "<vma>  <none>  <hint>  <name>" per name. A row
# of any other form (an import by ordinal, another objdump) is named, not skipped.
functions=$(awk '/^\tDLL Name: / { dll = $3; rows = 0; next }
                 dll != "" && /^\tvma: +Ordinal +Hint +Member-Name/ { rows = 1; next }
                 rows && /^\t[0-9a-f]+ +<none> +[0-9a-f]+ +[^ ]+$/ { print dll, $4; next }
                 rows && /./ { print dll, "unreadable:" $0; next }
                 /^$/ { dll = ""; rows = 0 }' <<<"$headers" | LC_ALL=C sort)
if grep -q ' unreadable:' <<<"$functions"; then
    fail "import rows not understood: $(grep ' unreadable:' <<<"$functions" | head -n3)"
fi
for dll in $dlls; do
    if ! grep -q "^$dll " <<<"$functions"; then fail "no imported function of $dll could be read"; fi
done
# Built without exceptions and RTTI the exe is some 34 KB; exception support would add 200 KB.
size=$(stat -c %s "$exe") max_size=36864
if [ "$size" -gt "$max_size" ]; then fail "$size bytes, more than $max_size"; fi
echo "check-exe: $exe: $format, GUI subsystem, $size bytes (at most $max_size)"
echo "check-exe: imports from ADVAPI32, KERNEL32, msvcrt and USER32 only:" \
    "$(awk '{ n[$1]++ } END { for (d in n) print d, n[d] }' <<<"$functions" | sort | paste -sd, | sed 's/,/, /g')"
# The whole list against the one in the repository: a new import is a change a reviewer sees.
imports=$repo/tests/TorvanPatch.imports
if ! diff -u --label "$imports" --label "the imports of $exe" "$imports" - <<<"$functions"; then
    fail "its imports differ from $imports (above): update that file if the change is meant"
fi
echo "check-exe: the $(wc -l <<<"$functions") imports are those of $imports"

# What Windows and Explorer read from the resources: the version, and a manifest that asks for no
# execution level (with "Patch" in the names, installer detection then asks at each start), with
# no XML declaration.
resources=$("${objdump%objdump}windres" -i "$exe" -O rc)
version=$(product_version)
if ! grep -q "^ FILEVERSION ${version//./, }\$" <<<"$resources" ||
    ! grep -q 'VALUE "FileDescription", "Patch for TORVAN95 Setting"' <<<"$resources"; then
    fail "the version resource is not that of Patch for TORVAN95 Setting $version"
fi
if ! grep -q -a '<assembly xmlns="urn:schemas-microsoft-com:asm.v1"' "$exe"; then fail "no manifest"; fi
if grep -q -a -e requestedExecutionLevel -e '<?xml' "$exe"; then
    fail "the manifest asks for an execution level or has an XML declaration"
fi
echo "check-exe: version $version; manifest without execution level or XML declaration"


# The Windows loader refuses an exe whose subsystem version is above its own; 4.0 or 5.1 load on XP.
version() { awk -v a="Major$1Version" -v b="Minor$1Version" '$1 == a { M = $2 } $1 == b { m = $2 }
                                                             END { print M "." m }' <<<"$headers"; }
os_version=$(version OSystem) subsystem_version=$(version Subsystem)
for v in "$os_version" "$subsystem_version"; do
    IFS=. read -r major minor <<<"$v"
    [ $((major * 100 + minor)) -le 501 ] || fail "header asks for Windows $v, newer than XP (5.1)"
done

# Every import of the four DLLs against the functions Windows XP SP3 lacks.
lacks=$repo/tests/xp-sp3-lacks.txt
read -r checked patterns newer < <(awk '
    NR == FNR { if ($1 !~ /^#/) for (i = 2; i <= NF; i++) { d = tolower($1); re[d] = re[d] (d in re ? "|" : "") $i; n++ }
                next }
    (d = tolower($1)) in re { checked++; if ($2 ~ "^(" re[d] ")$") newer = newer " " $1 "!" $2 }
    END { print checked + 0, n + 0, newer }' "$lacks" - <<<"$functions")
if [ -n "$newer" ]; then fail "imports functions that Windows XP SP3 lacks: $newer"; fi
echo "check-exe: Windows XP SP3: OS version $os_version, subsystem version $subsystem_version (at most 5.1);" \
    "$checked imports of KERNEL32, USER32, ADVAPI32 and msvcrt checked against $patterns patterns" \
    "of functions newer than XP SP3 ($lacks): none"
