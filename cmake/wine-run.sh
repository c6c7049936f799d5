#!/bin/sh
# Runs one Windows program under Wine for CTest. Wine's background processes inherit the
# standard output of the first wine command of a prefix; they would keep CTest's pipe
# open, so Wine writes to a file that is printed afterwards.
set -u
: "${WINEPREFIX:=${CHARTXFER_WINEPREFIX:-${TMPDIR:-/tmp}/chartxfer-wine-$(id -u)}}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
out=$(mktemp)
wine "$@" </dev/null >"$out" 2>&1
rc=$?
cat "$out"
rm -f "$out"
exit $rc
