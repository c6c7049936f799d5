#!/bin/sh
# Runs the disk-full tests under Wine on a drive of their own:
#   e2e_diskfull.sh <test program> <chartxfer.exe>
# G: is linked to a size-limited tmpfs (256 KB) that is mounted for the run and
# unmounted afterwards. Mounting needs root, or a system that lets this user mount: where
# it is refused, the run says so and exits with 77, which CTest counts as skipped.
set -u
here=$(cd "$(dirname "$0")" && pwd)
: "${WINEPREFIX:=${CHARTXFER_WINEPREFIX:-${TMPDIR:-/tmp}/chartxfer-wine-$(id -u)}}"
export WINEPREFIX

folder=$(mktemp -d "${TMPDIR:-/tmp}/chartxfer-diskfull.XXXXXX") || exit 1
link="$WINEPREFIX/dosdevices/g:"
cleanup() {
    rm -f "$link"
    umount "$folder" 2>/dev/null || umount -l "$folder" 2>/dev/null
    rmdir "$folder" 2>/dev/null
}
trap cleanup EXIT

if ! reason=$(mount -t tmpfs -o size=256k,mode=0777 tmpfs "$folder" 2>&1); then
    echo "e2e_diskfull.sh: SKIPPED: mounting a size-limited tmpfs was refused: $reason"
    exit 77
fi
mkdir -p "$WINEPREFIX/dosdevices" || exit 1
ln -sfn "$folder" "$link" || exit 1

"$here/e2e.sh" "$1" "$2" --gtest_filter='DiskFull.*'
