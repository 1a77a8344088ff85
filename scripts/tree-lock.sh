# Sourced by the scripts that build or run in a build folder.
#
# One run at a time per build folder: two builds in one tree would break each
# other, and one run's "wineserver -k" would end the other's tests. The lock
# is held by flock itself (-o), so no Wine or X process started here keeps it.
# zo_run_locked TAG SCRIPT ARGS...: re-runs SCRIPT under the lock, once.
zo_run_locked() {
    local tag="$1" script="$2"
    shift 2
    [[ -n "${ZO_TREE_LOCKED:-}" ]] && return 0
    export ZO_TREE_LOCKED=1
    local root="${ZO_BUILD_ROOT:-$ROOT/build}"
    mkdir -p "$root"
    local lock="$root/.run.lock"
    if ! flock -n "$lock" true; then
        echo "[$tag] another build or test run is using $root: waiting for it"
    fi
    exec flock -o "$lock" bash "$script" "$@"
}
