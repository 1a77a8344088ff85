#!/bin/bash
# Runs a cross-built Windows program under Wine, in the project's prefix, with
# the loader of the program's bitness. The CMake toolchains name it as
# CMAKE_CROSSCOMPILING_EMULATOR, so CTest and the GoogleTest discovery run
# every test program through it.
#   scripts/wine-run.sh <i686|x86_64> <program.exe> [arguments...]
# The exit code is the program's.
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
zo_wine_exec "$arch" "$@"
