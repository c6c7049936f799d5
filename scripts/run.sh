#!/bin/bash
# Builds the 32-bit chartxfer.exe (the 64-bit one on a machine that runs no 32-bit
# programs) and opens it under Wine on a demo set of drives:
#   C: the product tree with three construction systems and charts of different dates,
#      vornix.ini offering A:, C: and D: (C: the start-up drive);
#   A: a diskette drive holding some of the charts of one system, some in an older state;
#   D: an empty fixed drive: choosing it offers to create the product tree.
# With DISPLAY set the program opens there and the script waits until it is closed.
# Without one it runs on a private Xvfb display, and a screenshot of the dialog is
# written to build/run/chartxfer.png (or $SCREENSHOT); the program is then ended.
#
# Usage: scripts/run.sh [program arguments, e.g. /K:DAMEN]
# The dialog's language follows LANG (LANG=de_DE.UTF-8 scripts/run.sh: German).
set -u
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
run_dir="$root/build/run"
screenshot="${SCREENSHOT:-$run_dir/chartxfer.png}"

source "$root/scripts/wine-env.sh"

"$root/scripts/setup.sh" || exit 1

# The 32-bit exe, the one users get: it runs on every Windows from XP on. A machine
# whose kernel runs no 32-bit programs gets the 64-bit one, built from the same code.
if [ "$chartxfer_runs_32bit" = no ]; then
    echo "run.sh: $chartxfer_no_32bit; opening the 64-bit exe instead" >&2
fi
echo "==== build chartxfer.exe (build/$chartxfer_exe_build)"
cmake -S "$root" -B "build/$chartxfer_exe_build" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$chartxfer_exe_toolchain" >/dev/null || exit 1
cmake --build "build/$chartxfer_exe_build" -j2 --target chartxfer || exit 1
exe="$root/build/$chartxfer_exe_build/resources/chartxfer.exe"
[ -f "$exe" ] || { echo "run.sh: $exe was not built" >&2; exit 1; }

program_pid=""
cleanup() {
    wine_env_stop
    if [ -n "$program_pid" ]; then
        wait "$program_pid" 2>/dev/null
    fi
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

real_display=${DISPLAY:-}
wine_env_start "$run_dir/wine" || exit 1

# ---- The demo drives.
c="$WINEPREFIX/drive_c"
a="$WINEPREFIX/chartxfer-drives/a"

# system <drive folder> <directory> <display name>: a construction system's tree.
system() {
    local base="$1/vornix/$2" folder
    for folder in KOLLEKT MASK MAS PROG ST XWERT; do
        mkdir -p "$base/$folder" || return 1
    done
    printf '%s\r\n' "$3" >"$base/vornix_s.kon"
}

# chart <drive folder> <directory> <name> <local time>: a chart changed last then.
chart() {
    local file="$1/vornix/$2/MAS/$3.mas"
    printf 'measurement chart %s\r\n' "$3" >"$file" && touch -d "$4" "$file"
}

mkdir -p "$c/vornix" || exit 1
printf '[PATH]\r\nDRIVES=ACD\r\nSTARTUPDRIVE=2\r\n' >"$c/vornix/vornix.ini"

system "$c" DAMEN "Women's wear" &&
chart "$c" DAMEN ANNA "2024-03-05 14:07" &&
chart "$c" DAMEN BERTA "2025-11-20 09:30" &&
chart "$c" DAMEN CLARA "2026-01-15 16:45" &&
chart "$c" DAMEN DORA "2023-06-01 08:00" &&
system "$c" HERREN "Men's wear" &&
chart "$c" HERREN EMIL "2025-02-10 11:15" &&
chart "$c" HERREN FRITZ "2026-02-01 10:00" &&
system "$c" KINDER "Children's wear" &&
chart "$c" KINDER GRETA "2024-09-09 09:09" &&
chart "$c" KINDER HANS "2025-05-05 17:30" &&
chart "$c" KINDER IDA "2026-03-01 12:00" || exit 1

# The diskette: ANNA as on C:, BERTA older, ELSE only here.
system "$a" DAMEN "Women's wear" &&
chart "$a" DAMEN ANNA "2024-03-05 14:07" &&
chart "$a" DAMEN BERTA "2025-06-01 08:45" &&
chart "$a" DAMEN ELSE "2022-12-24 18:00" || exit 1

# ---- The program, started in C:\vornix.
log="$run_dir/chartxfer.log"
if [ -n "$real_display" ]; then
    echo "==== chartxfer.exe on display $DISPLAY; close its dialog to end"
    (cd "$c/vornix" && $chartxfer_wine "$exe" "$@" </dev/null >"$log" 2>&1)
    exit 0
fi

echo "==== chartxfer.exe on Xvfb display $DISPLAY"
(cd "$c/vornix" && $chartxfer_wine "$exe" "$@" </dev/null >"$log" 2>&1) &
program_pid=$!

# Wait for the dialog's window, give it a moment to paint, take the picture.
shown=""
for _ in $(seq 1 300); do
    if xwininfo -root -tree 2>/dev/null | grep -q '"VORNIX'; then
        shown=yes
        break
    fi
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if [ -z "$shown" ]; then
    echo "run.sh: the dialog did not appear; see $log" >&2
    exit 1
fi
sleep 2
import -window root "$screenshot" || exit 1
echo "==== screenshot: $screenshot"
