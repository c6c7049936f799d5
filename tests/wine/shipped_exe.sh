#!/bin/sh
# Checks the PE file of the exe users get against what every Windows from XP SP3 on
# can load:
#   shipped_exe.sh <objdump> <chartxfer.exe> <imports list> <x86|x64>
# - every imported function is on the list (tests/wine/imports.txt), whose oldest Windows
#   is one that the exe runs on: Windows 2000 or XP, and XP x64 for a 64-bit exe;
# - nothing is imported by ordinal;
# - the subsystem and OS versions of the header are at most 5.1 (x86) or 5.2 (x64),
#   XP's own: a higher one makes XP refuse the exe ("not a valid Win32 application");
# - no debug sections.
# Prints every finding and exits 1 if there is any.
set -u
objdump=$1
exe=$2
list=$3
arch=$4

case "$arch" in
    x86) oldest_allowed="Windows 2000|Windows XP" max_minor=1 ;;
    x64) oldest_allowed="Windows 2000|Windows XP|Windows XP x64" max_minor=2 ;;
    *) echo "shipped_exe.sh: architecture must be x86 or x64, not '$arch'" >&2; exit 2 ;;
esac

dir=$(mktemp -d "${TMPDIR:-/tmp}/chartxfer-shipped.XXXXXX") || exit 2
trap 'rm -rf "$dir"' EXIT
"$objdump" -p "$exe" >"$dir/private" || { echo "shipped_exe.sh: $objdump -p failed" >&2; exit 2; }
"$objdump" -h "$exe" >"$dir/sections" || { echo "shipped_exe.sh: $objdump -h failed" >&2; exit 2; }

# The import tables: "DLL Name: KERNEL32.dll", then one line per function,
# "<address> <hint> <name>"; a line without a name is an import by ordinal.
awk '
    /^The Import Tables/ { inside = 1; next }
    /^The Export Tables|^PE File Base Relocations|^The Function Table/ { inside = 0 }
    !inside { next }
    /DLL Name:/ { dll = $3; next }
    /vma:/ { next }
    NF >= 5 { dll = ""; next }   # the descriptor of the next DLL
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3; next }
    dll != "" && NF == 2 && $1 ~ /^[0-9a-f]+$/ { print dll, "<ordinal " $2 ">"; next }
' "$dir/private" | sort -u >"$dir/imports"

count=$(wc -l <"$dir/imports")
if [ "$count" -eq 0 ]; then
    echo "no imports read from $exe: is this objdump's output format?"
    exit 1
fi

status=0
while read -r dll function; do
    entry=$(awk -v dll="$dll" -v fn="$function" '
        /^#/ || NF < 3 { next }
        tolower($1) == tolower(dll) && $2 == fn {
            $1 = ""; $2 = ""; sub(/^ +/, ""); print; exit
        }' "$list")
    if [ -z "$entry" ]; then
        echo "import not on the list: $dll $function (look up its oldest Windows, then add it to $list)"
        status=1
    elif ! printf '%s\n' "$entry" | grep -Eqx "$oldest_allowed"; then
        echo "import newer than Windows XP: $dll $function ($entry)"
        status=1
    fi
done <"$dir/imports"

for field in Subsystem OSystem; do
    major=$(awk -v f="Major${field}Version" '$1 == f { print $2 }' "$dir/private")
    minor=$(awk -v f="Minor${field}Version" '$1 == f { print $2 }' "$dir/private")
    if [ -z "$major" ] || [ -z "$minor" ]; then
        echo "no ${field} version in the PE header"
        status=1
    elif [ "$major" -gt 5 ] || { [ "$major" -eq 5 ] && [ "$minor" -gt "$max_minor" ]; }; then
        echo "${field} version $major.$minor: Windows XP loads at most 5.$max_minor"
        status=1
    fi
done

if grep -Eq '^ *[0-9]+ +\.debug' "$dir/sections"; then
    echo "debug sections in the shipped exe:"
    grep -E '^ *[0-9]+ +\.debug' "$dir/sections" | awk '{ print "  " $2 }'
    status=1
fi

if [ "$status" -eq 0 ]; then
    echo "$count imports, all on the list and on Windows XP; header versions at most" \
         "5.$max_minor; no debug sections"
fi
exit $status
