#!/bin/sh
# Runs one VBScript or JScript test file with Wine's cscript and passes only when the
# script printed its verdict line "verdict: passed ..." last and exited with 0.
# cscript exits 0 after an uncaught script error, so a script that dies half-way
# is caught by its missing verdict.
# Usage: run-script.sh WINE_RUN BIN_DIR SCRIPT
wine_run=$1 bin_dir=$2 script=$3
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }
# The libraries beside dax64.dll are found through the search path.
WINEPATH=$(windows_path "$bin_dir")
export WINEPATH
output=$("$wine_run" cscript //nologo "$(windows_path "$script")" 2>&1)
status=$?
printf '%s\n' "$output" | tr -d '\r'
last=$(printf '%s\n' "$output" | tr -d '\r' | grep -v '^[[:space:]]*$' | tail -n 1)
case "$last" in
    "verdict: passed"*) ;;
    *) echo "run-script: the script ended without \"verdict: passed\" (last line: $last)"
       exit 1 ;;
esac
if [ "$status" -ne 0 ]; then
    echo "run-script: cscript exited with $status"
    exit 1
fi
exit 0
