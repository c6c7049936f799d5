#!/bin/sh
# Runs one Windows program under Wine for CTest: wine-run.sh program.exe [arguments].
#
# The prefix is $WINEPREFIX, else $CHARTXFER_WINEPREFIX, else one per user in /tmp.
# scripts/test.sh creates a fresh one before CTest starts; when CTest is run by hand the
# first test creates it, under a lock so that tests started in parallel wait for it
# instead of all initialising the same prefix.
#
# Wine's background processes inherit the standard output of the first wine command of
# a prefix and would keep CTest's pipe open, so Wine writes to a file that is printed
# afterwards.
set -u
: "${WINEPREFIX:=${CHARTXFER_WINEPREFIX:-${TMPDIR:-/tmp}/chartxfer-wine-$(id -u)}}"
export WINEPREFIX
export WINEARCH="${WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
. "$(dirname "$0")/wine-loader.sh"

# CTest counts exit code 77 as a test that could not run here.
if [ "$chartxfer_runs_32bit" = no ] && chartxfer_is_32bit_exe "$1"; then
    echo "wine-run.sh: not run: $chartxfer_no_32bit" >&2
    exit 77
fi

if [ -z "${DISPLAY:-}" ]; then
    echo "wine-run.sh: DISPLAY is not set; programs that open windows or message boxes" \
         "will fail (scripts/test.sh starts Xvfb)" >&2
fi

log=$(mktemp "${TMPDIR:-/tmp}/chartxfer-wine-run.XXXXXX") || exit 1
trap 'rm -f "$log"' EXIT

# A prefix is ready once wine-prefix.sh has written its marker file.
ready="$WINEPREFIX/.chartxfer-ready-3"  # the version of cmake/wine-prefix.sh
if [ ! -f "$ready" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")" || exit 1
    (
        flock 9 || exit 1
        if [ ! -f "$ready" ]; then
            "$(dirname "$0")/wine-prefix.sh" "$WINEPREFIX" "$log"
        fi
    ) 9>"$WINEPREFIX.lock"
    if [ ! -f "$ready" ]; then
        echo "wine-run.sh: could not create the Wine prefix $WINEPREFIX" >&2
        cat "$log" >&2
        exit 1
    fi
fi

$chartxfer_wine "$@" </dev/null >"$log" 2>&1
rc=$?
cat "$log"
exit $rc
