#!/bin/sh
# Registers dax64.dll with Wine's regsvr32 and checks the registry entries of every
# served class: a copy named other.dll registers other.<class>, regsvr32 /u removes
# the entries again. Leaves dax64.dll registered for the script tests.
# Usage: server-registration.sh WINE_RUN BIN_DIR CLASS...
wine_run=$1 bin_dir=$2
shift 2
checks=0 failures=0
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
WINEPATH=$(windows_path "$bin_dir")
export WINEPATH

check() {  # check DESCRIPTION COMMAND...
    description=$1
    shift
    checks=$((checks + 1))
    if "$@"; then
        echo "ok - $description"
    else
        echo "not ok - $description"
        failures=$((failures + 1))
    fi
}
regsvr() { "$wine_run" regsvr32 /s "$@" >/dev/null 2>&1; }
query() { "$wine_run" reg query "$@" 2>/dev/null | tr -d '\r'; }
class_id_of() { query "HKCR\\$1\\CLSID" /ve | grep -o '{[0-9A-Fa-f-]*}' | head -n 1; }
absent() { ! "$wine_run" reg query "HKCR\\$1" >/dev/null 2>&1; }
contains() { case "$1" in *"$2"*) return 0 ;; esac; return 1; }

# The entries of MODULE.CLASS: ProgID -> class id -> ProgID, server path, threading.
entries_of() {  # entries_of MODULE CLASS
    prog_id=$1.$2
    class_id=$(class_id_of "$prog_id")
    [ -n "$class_id" ] || { echo "#   no HKCR\\$prog_id\\CLSID"; return 1; }
    server=$(query "HKCR\\CLSID\\$class_id\\InprocServer32" /ve)
    threading=$(query "HKCR\\CLSID\\$class_id\\InprocServer32" /v ThreadingModel)
    named=$(query "HKCR\\CLSID\\$class_id\\ProgID" /ve)
    contains "$server" "\\$1.dll" || { echo "#   server: $server"; return 1; }
    contains "$threading" "Both" || { echo "#   threading model: $threading"; return 1; }
    contains "$named" "$prog_id" || { echo "#   ProgID of $class_id: $named"; return 1; }
}

dax64=$(windows_path "$bin_dir/dax64.dll")
other_file="$bin_dir/other.dll"
other=$(windows_path "$other_file")

check "regsvr32 dax64.dll succeeds" regsvr "$dax64"
for class in "$@"; do
    check "dax64.$class registered with its server, ProgID and threading model" \
        entries_of dax64 "$class"
done

cp "$bin_dir/dax64.dll" "$other_file"
check "regsvr32 other.dll succeeds" regsvr "$other"
for class in "$@"; do
    check "other.$class registered by the copy named other.dll" entries_of other "$class"
done
check "regsvr32 /u other.dll succeeds" regsvr /u "$other"
for class in "$@"; do
    check "other.$class removed by regsvr32 /u" absent "other.$class"
done
rm -f "$other_file"

check "regsvr32 /u dax64.dll succeeds" regsvr /u "$dax64"
for class in "$@"; do
    check "dax64.$class removed by regsvr32 /u" absent "dax64.$class"
done
check "regsvr32 /u dax64.dll again succeeds" regsvr /u "$dax64"

check "regsvr32 dax64.dll succeeds again" regsvr "$dax64"
for class in "$@"; do
    check "dax64.$class registered again" entries_of dax64 "$class"
done

if [ $failures -eq 0 ]; then
    echo "verdict: passed ($checks checks)"
    exit 0
fi
echo "verdict: failed ($failures of $checks checks)"
exit 1
