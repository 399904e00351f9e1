#!/usr/bin/env bash
# Checks the import and export tables of a built Windows file with objdump.
#
#   check_pe.sh OBJDUMP FILE exports NAME...      exports exactly these names, nothing by ordinal only
#   check_pe.sh OBJDUMP FILE imports-only DLL...  imports from no DLL but these
#   check_pe.sh OBJDUMP FILE imports-none GLOB... imports from no DLL matching these
# DLL names compare without regard to case.
set -euo pipefail
objdump=$1 file=$2 mode=$3
shift 3
[ -f "$file" ] || { echo "FAIL: $file does not exist"; exit 1; }
dump=$("$objdump" -p "$file")

imported_dlls() { sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | sort -u; }

case $mode in
  exports)
    named=$(sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' <<<"$dump" | sort)
    wanted=$(printf '%s\n' "$@" | sort)
    slots=$(sed -n 's/^[[:space:]]*Export Address Table[[:space:]]*\([0-9a-fA-F]*\)$/\1/p' <<<"$dump" | head -1)
    echo "exported names:"; sed 's/^/  /' <<<"$named"
    [ "$named" == "$wanted" ] || { echo "FAIL: expected exactly:"; sed 's/^/  /' <<<"$wanted"; exit 1; }
    [ $((16#${slots:-0})) -eq $# ] || { echo "FAIL: $((16#${slots:-0})) export slots for $# names"; exit 1; }
    ;;
  imports-only)
    allowed=$(printf '%s\n' "$@" | tr 'A-Z' 'a-z' | sort -u)
    echo "imported DLLs:"; imported_dlls | sed 's/^/  /'
    extra=$(comm -23 <(imported_dlls) <(echo "$allowed"))
    [ -z "$extra" ] || { echo "FAIL: unexpected imports:"; sed 's/^/  /' <<<"$extra"; exit 1; }
    ;;
  imports-none)
    echo "imported DLLs:"; imported_dlls | sed 's/^/  /'
    status=0
    while read -r dll; do
      for pattern in "$@"; do
        # shellcheck disable=SC2053  # the pattern is a glob on purpose
        if [[ $dll == ${pattern,,} ]]; then echo "FAIL: imports $dll"; status=1; fi
      done
    done < <(imported_dlls)
    exit $status
    ;;
  *) echo "unknown mode $mode" >&2; exit 2 ;;
esac
echo "ok"
