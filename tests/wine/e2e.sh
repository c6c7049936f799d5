#!/bin/sh
# Runs an end-to-end test program under Wine:
#   e2e.sh <test program> <chartxfer.exe> [test program arguments]
# The drives the tests work on (A: and B: diskette drives, D: and E: fixed drives) are
# part of every prefix that cmake/wine-prefix.sh makes; the test program finds their
# folders through CHARTXFER_E2E_DRIVES and the program to test through CHARTXFER_EXE.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=${CHARTXFER_WINEPREFIX:-${TMPDIR:-/tmp}/chartxfer-wine-$(id -u)}}"
export WINEPREFIX

tests=$1
export CHARTXFER_EXE="$2"
export CHARTXFER_E2E_DRIVES="$WINEPREFIX/chartxfer-drives"
shift 2
exec "$here/../../cmake/wine-run.sh" "$tests" "$@"
