#!/bin/bash
# Benchmarks of Chart Transfer. Not tests: they print figures and whether each meets its
# goal, and fail only when a figure cannot be measured (a build that fails, a benchmark
# whose dialog shows a wrong result).
#
#   native  - the program's own work over the Linux layer, driven as the tests drive it,
#             each figure beside its baseline measured in the same run on the same files:
#             one list build against `ls -l`, Copy against `cp -p`; Refresh, the date
#             filter, Compare, start-up (Google Benchmark; build/bench, -O2)
#   wine    - the real chartxfer.exe that users get (32-bit, build/bench-win32; the
#             64-bit build/bench-win on a machine that runs no 32-bit programs) under
#             Wine, timed from a second program: Refresh and Compare with 2000 charts
#             on each side; Compare, Copy, Move and Delete of 2000 charts of which the
#             destination holds 1000 a minute older, each transfer beside the
#             platform's own work on the same charts, measured run by run in turn
#             with it
#
# Usage: scripts/bench.sh [--wine | --all] [--repetitions N] [--dir FOLDER]
#   default native only; --wine the Wine figures only; --all both.
#   --repetitions  runs of each figure, the tables show their median (default 5)
#   --dir          where the drives are laid out (default /dev/shm, a tmpfs, when it
#                  exists, else /tmp): on a tmpfs the figures are the programs' own work,
#                  not the disk's
set -u
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
jobs=2
unset LC_ALL LANGUAGE

steps=(native)
repetitions=5
folder=/tmp
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
    folder=/dev/shm
fi
while [ $# -gt 0 ]; do
    case $1 in
    --wine) steps=(wine) ;;
    --all) steps=(native wine) ;;
    --repetitions) repetitions=${2:?--repetitions needs a number}; shift ;;
    --dir) folder=${2:?--dir needs a folder}; shift ;;
    *) echo "usage: scripts/bench.sh [--wine | --all] [--repetitions N] [--dir FOLDER]" >&2
       exit 2 ;;
    esac
    shift
done

source "$root/scripts/wine-env.sh"
trap wine_env_stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# build <build-dir> <targets> -- <cmake arguments...>
build() {
    local dir=$1 targets=() 
    shift
    while [ "$1" != -- ]; do
        targets+=(--target "$1")
        shift
    done
    shift
    echo "==== configure and build $dir"
    cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" -DCHARTXFER_TESTS=OFF \
        -DCHARTXFER_BENCH=ON "$@" >"$dir.configure.log" 2>&1 ||
        { cat "$dir.configure.log"; return 1; }
    cmake --build "$dir" -j"$jobs" "${targets[@]}" || return 1
}

step_native() {
    mkdir -p build
    build build/bench chartxfer_bench -- || return 1
    echo "==== native figures (drives in $folder, $repetitions repetitions)"
    CHARTXFER_BENCH_DIR="$folder" build/bench/bench/chartxfer_bench \
        --benchmark_repetitions="$repetitions" --benchmark_display_aggregates_only=true
}

step_wine() {
    local dir=build/bench-$chartxfer_exe_build
    if [ "$chartxfer_runs_32bit" = no ]; then
        echo "bench.sh: $chartxfer_no_32bit; the figures are of the 64-bit exe" >&2
    fi
    mkdir -p build
    build "$dir" bench_wine chartxfer -- \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$chartxfer_exe_toolchain" || return 1
    # English dialog and code page 1252; a fresh prefix with the end-to-end drives.
    local -x LANG=en_GB.UTF-8
    local wine_dir="$folder/chartxfer-bench-wine"
    wine_env_start "$wine_dir" || return 1
    echo "==== Wine figures (prefix in $wine_dir)"
    sh "$root/tests/wine/e2e.sh" "$root/$dir/bench/wine/bench_wine.exe" \
        "$(cat "$dir/bench/wine/chartxfer-path.txt")" "$repetitions"
    local rc=$?
    wine_env_stop
    rm -rf "$wine_dir"
    return $rc
}

failed=0
for step in "${steps[@]}"; do
    "step_$step" || { echo "==== $step: figures missing"; failed=1; }
done
exit $failed
