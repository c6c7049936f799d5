#!/bin/bash
# Builds Chart Transfer and runs every test:
#   native  - Linux build with the Win32 stand-in (build/native)
#   asan    - the same with AddressSanitizer and UndefinedBehaviorSanitizer (build/asan)
#   win32   - MinGW-w64 cross build for 32-bit Windows, the exe users get; tests under
#             Wine on a virtual display (build/win32)
#   win     - the same for 64-bit Windows (build/win)
# Installs what is missing first (scripts/setup.sh). Ends with the line
# "N passed, N failed, N skipped" over all test runs; the exit code is 0 only when
# nothing failed. A test that cannot run on this machine (it says why) is skipped.
#
# Usage: scripts/test.sh [step...]   (default: all steps, in the order above)
# A step is a function step_<name> below; add one by writing it and naming it in
# all_steps. A step records its CTest results with run_ctest and returns non-zero when
# it could not get as far as running them.
set -u
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)
jobs=2
# LC_ALL would override the LANG that the Windows tests choose their language with.
unset LC_ALL LANGUAGE
all_steps=(native asan win32 win fuzz)

source "$root/scripts/wine-env.sh"

total_passed=0
total_failed=0
total_skipped=0
failed_steps=()

# configure_and_build <build-dir> <cmake arguments...>
# Warnings are errors here, in both compilers: the code must build clean.
configure_and_build() {
    local dir=$1
    shift
    echo "==== configure $dir"
    cmake -S "$root" -B "$dir" -DCMAKE_COMPILE_WARNING_AS_ERROR=ON "$@" || return 1
    echo "==== build $dir"
    cmake --build "$dir" -j"$jobs" || return 1
}

# run_ctest <label> <build-dir> [ctest arguments...]
# Runs CTest and adds its counts to the totals. CTest's own summary line is read from
# its log file ("83% tests passed, 2 tests failed out of 12").
run_ctest() {
    local label=$1 dir=$2
    shift 2
    local log="$dir/ctest-run.log"
    echo "==== test $label"
    rm -f "$log"
    ctest --test-dir "$dir" -j"$jobs" --timeout 300 --output-on-failure -O "$log" "$@"
    local rc=$?
    local line passed failed total skipped
    line=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" 2>/dev/null | tail -n 1)
    # A test that could not run here (exit code 77, SKIP_RETURN_CODE) counts as neither.
    skipped=$(grep -cE '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" 2>/dev/null)
    skipped=${skipped:-0}
    if [ -n "$line" ]; then
        failed=$(echo "$line" | sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/')
        total=$(echo "$line" | sed -E 's/.*out of ([0-9]+).*/\1/')
        passed=$((total - failed - skipped))
    elif grep -q 'No tests were found' "$log" 2>/dev/null; then
        passed=0
        failed=0
    else
        # CTest did not get to its summary: count the run as one failure.
        passed=0
        failed=1
    fi
    if [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
        failed=1
    fi
    echo "==== $label: $passed passed, $failed failed, $skipped skipped"
    if [ "$skipped" -gt 0 ]; then
        grep -E '^[[:space:]]*[0-9]+ - .* \(Skipped\)$' "$log" | sed 's/^[[:space:]]*/==== skipped: /'
    fi
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    total_skipped=$((total_skipped + skipped))
    return 0
}

step_native() {
    configure_and_build build/native -DCMAKE_BUILD_TYPE=Debug || return 1
    run_ctest native build/native
}

step_asan() {
    configure_and_build build/asan -DCMAKE_BUILD_TYPE=Debug -DCHARTXFER_SANITIZE=ON || return 1
    ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}" \
    UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}" \
        run_ctest asan build/asan
}

# windows_step <label> <build-dir> <toolchain file>: cross-builds and runs every test
# under Wine, in a fresh prefix (one prefix runs 32- and 64-bit programs alike).
windows_step() {
    local label=$1 dir=$2 toolchain=$3
    # Wine takes the user language and the ANSI code page from LANG: English and 1252
    # unless a test sets its own.
    local -x LANG="${CHARTXFER_WINE_LANG:-en_GB.UTF-8}"
    configure_and_build "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain" || return 1
    if [ "$label" = win32 ] && [ "$chartxfer_runs_32bit" = no ]; then
        echo "==== $label: built and its exe checked, but its programs are skipped:" \
             "$chartxfer_no_32bit; a machine with 32-bit support runs them"
    fi
    # A private display always: test windows stay off the user's screen.
    wine_env_start "$dir/wine" own || { wine_env_stop; return 1; }
    run_ctest "$label" "$dir"
    wine_env_stop
}

step_win32() {
    windows_step win32 build/win32 mingw-w64-i686.cmake
}

step_win() {
    windows_step win build/win mingw-w64-x86_64.cmake
}

# Replays every fuzz corpus and runs a fixed-seed pass; one result for the whole step.
step_fuzz() {
    echo "==== fuzz"
    "$root/scripts/fuzz.sh"
    case $? in
        0) total_passed=$((total_passed + 1)) ;;
        1) total_failed=$((total_failed + 1)) ;;
        *) return 1 ;;
    esac
}

cleanup() {
    wine_env_stop
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

steps=("${all_steps[@]}")
if [ $# -gt 0 ]; then
    steps=("$@")
fi
for step in "${steps[@]}"; do
    if ! declare -F "step_$step" >/dev/null; then
        echo "test.sh: no step '$step' (steps: ${all_steps[*]})" >&2
        exit 2
    fi
done

started=$(date +%s)
"$root/scripts/setup.sh" || { echo "test.sh: setup failed" >&2; exit 1; }

for step in "${steps[@]}"; do
    step_started=$(date +%s)
    if ! "step_$step"; then
        # It did not get to its tests: one failure for the step.
        echo "==== $step: FAILED before its tests ran"
        failed_steps+=("$step")
        total_failed=$((total_failed + 1))
    fi
    echo "==== $step: $(( $(date +%s) - step_started )) s"
done

echo
echo "==== steps: ${steps[*]}; $(( $(date +%s) - started )) s"
if [ ${#failed_steps[@]} -gt 0 ]; then
    echo "==== did not build or start: ${failed_steps[*]}"
fi
echo "$total_passed passed, $total_failed failed, $total_skipped skipped"
[ "$total_failed" -eq 0 ]
