#!/bin/bash
# Runs a cross-built Windows program under Wine, in the project's prefix, with
# the loader of the program's bitness. The CMake toolchains name it as
# CMAKE_CROSSCOMPILING_EMULATOR, so CTest and the GoogleTest discovery run
# every test program through it.
#   scripts/wine-run.sh <i686|x86_64> <program.exe> [arguments...]
# The exit code is the program's.
#
# Wine now and then fails to start a program at all: it ends at once, with an
# error and no output. A test program (zo_*_tests.exe) creates the file named by
# ZO_STARTED_MARKER as soon as its own code runs, so a test program that fails
# without creating it never started, and it is started once more (and a line
# says so). Every other program runs exactly once.
set -u
# shellcheck source=scripts/wine-env.sh
source "$(dirname "$(readlink -f "${BASH_SOURCE[0]}")")/wine-env.sh"

if [[ $# -lt 2 ]]; then
    echo "usage: wine-run.sh <i686|x86_64> <program.exe> [arguments...]" >&2
    exit 2
fi
arch="$1"
shift
if [[ -z "${DISPLAY:-}" ]]; then
    zo_log "wine-run.sh: DISPLAY is not set, so no window can be created (scripts/test.sh runs Xvfb)"
fi
if [[ ! -f "$ZO_WINE_PREFIX/.zo-prepared" ]]; then
    zo_prefix_prepare || exit 1
fi

# Runs a test program, again if its first run ended with an error before any of
# its code ran. A signal that ends this script ends the program too.
run_test_program() {
    local attempt marker rc=1
    for attempt in 1 2; do
        marker="$(mktemp -u "${TMPDIR:-/tmp}/zo-started.XXXXXX")"
        (ZO_STARTED_MARKER="$(zo_wine_path "$marker")" && export ZO_STARTED_MARKER &&
            zo_wine_exec "$arch" "$@") &
        program_pid=$!
        trap 'kill -TERM "$program_pid" 2>/dev/null; exit 143' TERM INT HUP
        wait "$program_pid"
        rc=$?
        trap - TERM INT HUP
        if [[ -e $marker ]]; then
            rm -f "$marker"
            return "$rc"
        fi
        [[ $rc -eq 0 ]] && return 0
        zo_log "wine-run.sh: $(basename "$1") ended with exit code $rc before any of its code ran (attempt $attempt of 2)"
    done
    return "$rc"
}

if [[ $(basename "$1") == zo_*_tests.exe ]]; then
    run_test_program "$@"
    exit
fi
zo_wine_exec "$arch" "$@"
