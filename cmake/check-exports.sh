#!/bin/sh
# Checks the export table of a 32-bit DLL: every export has its undecorated name (no
# "@N") and, apart from members of exported C++ classes (names "_Z..."), is a
# __stdcall function (the linker's definition file pairs each undecorated name with
# its "Name@N" stdcall symbol).
# Usage: check-exports.sh DLL DEF_FILE OBJDUMP
dll=$1 def=$2 objdump=$3
names=$("$objdump" -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next}
                                    on && /^\t\[/ {print $NF; next}
                                    on {exit}')
[ -n "$names" ] || { echo "$dll: no exports found"; exit 1; }
status=0
count=0
for name in $names; do
    count=$((count + 1))
    case "$name" in *@*) echo "$dll: decorated export $name"; status=1 ;; esac
    # Members of exported C++ classes keep their C++ names and conventions.
    case "$name" in _Z*) continue ;; esac
    if ! grep -Eq "^[[:space:]]*$name = $name@[0-9]+" "$def"; then
        echo "$dll: export $name is not a __stdcall function"
        status=1
    fi
done
[ $status -eq 0 ] && echo "$dll: $count exports, all undecorated __stdcall"
exit $status
