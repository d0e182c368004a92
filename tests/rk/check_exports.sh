#!/usr/bin/env bash
# Checks that the library exports every name of the RK toolkit, demangled.
#
#   check_exports.sh linux   LIBRARY            the dynamic symbol table (nm -D --defined-only -C)
#   check_exports.sh windows DLL [OBJDUMP]      the export table (OBJDUMP -p, then c++filt);
#                                               OBJDUMP defaults to x86_64-w64-mingw32-objdump
#
# The expected names come from exported_names.txt beside this script, one signature a line,
# with placeholders for the types that differ between platforms; the Windows mode reads the
# DLL's format (pei-i386 or pei-x86-64) to size them. Prints each missing name and exits with
# 1 when any is missing, with 2 on a usage or tool error.
set -euo pipefail

usage() {
    echo "usage: $0 linux LIBRARY | $0 windows DLL [OBJDUMP]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
mode=$1
library=$2
names=$(dirname "$0")/exported_names.txt
[ -f "$library" ] || { echo "no such library: $library" >&2; exit 2; }

case $mode in
linux)
    exported=$(nm -D --defined-only -C "$library" | sed -E 's/^[0-9a-fA-F]+ +[A-Za-z] +//')
    wchar=char16_t
    size_t='unsigned long'
    va_list='__va_list_tag*'
    ;;
windows)
    objdump=${3:-x86_64-w64-mingw32-objdump}
    dump=$("$objdump" -p "$library")
    # The export table lists "[ordinal] name" rows after its "[Ordinal/Name Pointer] Table"
    # heading; a blank line ends it.
    exported=$(printf '%s\n' "$dump" |
        sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -nE 's/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+//p' | c++filt)
    wchar=wchar_t
    if grep -q 'file format pei-i386' <<<"$dump"; then
        size_t='unsigned int'
    else
        size_t='unsigned long long'
    fi
    va_list='char*'
    ;;
*)
    usage
    ;;
esac

string='std::__cxx11::basic_string<char, std::char_traits<char>, std::allocator<char> >'
wstring="std::__cxx11::basic_string<$wchar, std::char_traits<$wchar>, std::allocator<$wchar> >"

checked=0
missing=0
while IFS= read -r line; do
    case $line in '' | '#'*) continue ;; esac
    name=${line//WSTRING/$wstring}
    name=${name//STRING/$string}
    name=${name//WCHAR/$wchar}
    name=${name//SIZE_T/$size_t}
    name=${name//VA_LIST/$va_list}
    checked=$((checked + 1))
    if ! grep -Fxq -- "$name" <<<"$exported"; then
        echo "missing: $name"
        missing=$((missing + 1))
    fi
done <"$names"

echo "$((checked - missing)) of $checked toolkit names exported by $(basename "$library")"
[ "$missing" -eq 0 ]
