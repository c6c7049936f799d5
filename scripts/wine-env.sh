# Sourced by the scripts that run Windows programs under Wine. wine_env_start gives one
# run a fresh Wine prefix (cmake/wine-prefix.sh) with a server that stays up for the
# whole run, and an X display (a private Xvfb unless the caller keeps its own);
# wine_env_stop ends both.
#
# Wine's background processes inherit the standard output of the wine command that
# starts them and can keep a pipe open long after it ended, so every wine command here
# writes to a log file and reads from /dev/null; never put wine inside $( ) or before |.

chartxfer_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$chartxfer_root/cmake/wine-loader.sh"
chartxfer_wine_dir=""
chartxfer_xvfb_pid=""
chartxfer_saved_display=""

# $1: folder for the prefix and the logs (emptied first); $2: "own" to start Xvfb even
# when DISPLAY is set. Exports WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES and DISPLAY.
wine_env_start() {
    local dir=$1 mode=${2:-}
    rm -rf "$dir" || return 1
    mkdir -p "$dir" || return 1
    chartxfer_wine_dir=$(cd "$dir" && pwd)

    export WINEPREFIX="$chartxfer_wine_dir/prefix"
    export WINEARCH=win64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export CHARTXFER_WINEPREFIX="$WINEPREFIX"

    chartxfer_saved_display=${DISPLAY:-}
    if [ -z "${DISPLAY:-}" ] || [ "$mode" = own ]; then
        wine_env_start_xvfb || return 1
    fi

    echo "wine: preparing prefix $WINEPREFIX on display $DISPLAY"
    if ! "$chartxfer_root/cmake/wine-prefix.sh" "$WINEPREFIX" "$chartxfer_wine_dir/prefix.log"; then
        echo "wine: creating the prefix failed; see $chartxfer_wine_dir/prefix.log" >&2
        return 1
    fi
    # A persistent server keeps the prefix's services running between test programs:
    # each program then starts in about a second.
    wineserver -p </dev/null >"$chartxfer_wine_dir/wineserver.log" 2>&1
    return 0
}

# Starts Xvfb on the first free display number and exports DISPLAY once it is ready.
wine_env_start_xvfb() {
    local numberfile="$chartxfer_wine_dir/xvfb.display" waited=0
    : >"$numberfile"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$numberfile" </dev/null >"$chartxfer_wine_dir/xvfb.log" 2>&1 &
    chartxfer_xvfb_pid=$!
    # Xvfb writes its display number once it accepts clients.
    while [ ! -s "$numberfile" ]; do
        if ! kill -0 "$chartxfer_xvfb_pid" 2>/dev/null || [ $waited -ge 100 ]; then
            echo "wine: Xvfb did not start; see $chartxfer_wine_dir/xvfb.log" >&2
            return 1
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
    export DISPLAY=":$(head -n 1 "$numberfile")"
    return 0
}

# Ends the Wine server with every program still running in the prefix, then Xvfb.
# Safe to call more than once.
wine_env_stop() {
    if [ -n "$chartxfer_wine_dir" ] && [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k </dev/null >>"$chartxfer_wine_dir/wineserver.log" 2>&1
        timeout 30 wineserver -w </dev/null >>"$chartxfer_wine_dir/wineserver.log" 2>&1
    fi
    if [ -n "$chartxfer_xvfb_pid" ]; then
        kill "$chartxfer_xvfb_pid" 2>/dev/null
        wait "$chartxfer_xvfb_pid" 2>/dev/null
        chartxfer_xvfb_pid=""
        if [ -n "$chartxfer_saved_display" ]; then
            export DISPLAY="$chartxfer_saved_display"
        else
            unset DISPLAY
        fi
    fi
    chartxfer_wine_dir=""
}
