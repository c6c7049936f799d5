#!/bin/bash
# Fuzzes the routines that take text from outside the program (typed dates, text
# fields, records to sort, INI and addition files, wildcard patterns, the compiled
# resource, directory scans over arbitrary file names) with libFuzzer under
# AddressSanitizer and UndefinedBehaviorSanitizer.
#
# Usage:
#   scripts/fuzz.sh                        the check that scripts/test.sh runs:
#                                          replays every seed corpus in fuzz/corpus/,
#                                          then a fixed pass per target (-seed=1, a fixed
#                                          number of runs: the same result every time)
#   scripts/fuzz.sh --long [seconds] [seed]
#                                          fuzzes each target for <seconds> (default 600)
#                                          from <seed> (default: from the clock, printed);
#                                          inputs that reach new code are kept in
#                                          build/fuzz/grown/<target>/
#   FUZZ_TARGETS="sort ini" scripts/fuzz.sh ...   only these targets
#   FUZZ_BUILD_DIR=dir scripts/fuzz.sh ...        another build directory
#
# Exit code: 0 nothing found; 1 a finding (its input is saved under
# <build>/findings/<target>/ and the command that replays it is printed); 2 the targets
# could not be built.
set -u
cd "$(dirname "$0")/.." || exit 2
root=$(pwd)
build=${FUZZ_BUILD_DIR:-build/fuzz}
case $build in /*) ;; *) build=$root/$build ;; esac
jobs=2

# Runs of the fixed pass per target, sized so that the whole step (build included)
# stays within about three minutes on two cores.
declare -A fixed_runs=(
    [datenorm]=300000
    [textfield]=400000
    [sort]=25000
    [ini]=25000
    [wildcard]=8000
    [resource]=25000
    [scan]=15000
)

mode=check
seconds=600
seed=1
if [ "${1:-}" = "--long" ]; then
    mode=long
    seconds=${2:-600}
    seed=${3:-$(( $(date +%s) % 100000 + 1 ))}
elif [ $# -gt 0 ]; then
    sed -n '2,/^set -u/p' "$0" | sed '$d' >&2
    exit 2
fi

echo "==== fuzz: build $build"
mkdir -p "$build"
cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER="${CC:-clang}" \
      -DCMAKE_CXX_COMPILER="${CXX:-clang++}" -DCHARTXFER_FUZZ=ON -DCHARTXFER_TESTS=OFF \
      >"$build/configure.log" 2>&1 || { cat "$build/configure.log"; exit 2; }
cmake --build "$build" --target fuzz_targets -j"$jobs" || exit 2

list_targets() {
    local f
    for f in "$root"/fuzz/*_fuzz.cpp; do
        f=${f##*/}
        echo "${f%_fuzz.cpp}"
    done
}
targets=${FUZZ_TARGETS:-$(list_targets)}
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
common=(-timeout=20 -rss_limit_mb=2048 -print_final_stats=1 -reload=0)
# libFuzzer keys some of its comparison tables by code address: with address-space
# randomisation two runs from one seed part ways. The check runs without it.
fixed=()
if setarch "$(uname -m)" -R true 2>/dev/null; then
    fixed=(setarch "$(uname -m)" -R)
fi
found=()

# finding <target> <log>: reports the failed run with the input that caused it.
finding() {
    local target=$1 log=$2
    echo "---- $target: FINDING (log: $log)"
    grep -E -A1 'PROPERTY FAILED' "$log" | head -n 4
    grep -E 'ERROR: |SUMMARY: |runtime error' "$log" | head -n 6
    local unit
    for unit in "$build/findings/$target/"*; do
        [ -f "$unit" ] || continue
        echo "     replay: $build/fuzz/${target}_fuzz $unit"
    done
    found+=("$target")
}

for target in $targets; do
    exe=$build/fuzz/${target}_fuzz
    corpus=$root/fuzz/corpus/$target
    if [ ! -x "$exe" ]; then
        echo "fuzz.sh: no target $target" >&2
        exit 2
    fi
    mkdir -p "$corpus" "$build/findings/$target" "$build/logs"
    rm -f "$build/findings/$target/"*
    prefix=(-artifact_prefix="$build/findings/$target/")

    if [ "$mode" = check ]; then
        log=$build/logs/$target.replay.log
        echo "==== fuzz: $target: replay $(find "$corpus" -type f | wc -l) corpus inputs"
        if ! (cd "$build" && "$exe" "${prefix[@]}" "${common[@]}" -runs=0 "$corpus") \
                >"$log" 2>&1; then
            finding "$target" "$log"
            continue
        fi
        runs=${fixed_runs[$target]:-20000}
        work=$build/work/$target
        rm -rf "$work" && mkdir -p "$work"
        log=$build/logs/$target.fixed.log
        echo "==== fuzz: $target: $runs runs from seed 1"
        if ! (cd "$build" && "${fixed[@]}" "$exe" "${prefix[@]}" "${common[@]}" -seed=1 \
                -runs="$runs" "$work" "$corpus") >"$log" 2>&1; then
            finding "$target" "$log"
        fi
    else
        grown=$build/grown/$target
        mkdir -p "$grown"
        log=$build/logs/$target.long.log
        echo "==== fuzz: $target: $seconds s from seed $seed (log: $log)"
        if ! (cd "$build" && "$exe" "${prefix[@]}" "${common[@]}" -seed="$seed" \
                -max_total_time="$seconds" "$grown" "$corpus") >"$log" 2>&1; then
            finding "$target" "$log"
        fi
    fi
done

if [ ${#found[@]} -gt 0 ]; then
    echo "==== fuzz: findings in: ${found[*]}"
    exit 1
fi
echo "==== fuzz: nothing found ($mode)"
exit 0
