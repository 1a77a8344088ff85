#!/bin/bash
# Configures and builds the tree for each given bitness in build/<arch>.
#   scripts/build.sh [i686] [x86_64] [-- <extra cmake --build arguments>]
# With no bitness named, builds both. Exit code 0 only when every build
# succeeded; a failing bitness does not stop the other from being built.
# ZO_BUILD_TYPE picks the CMake build type (default RelWithDebInfo: what ships
# is optimised, with debug information, and the tests run on it).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_ROOT="${ZO_BUILD_ROOT:-$ROOT/build}"

# One run at a time per build folder: two builds in one tree would break each
# other, and one run's "wineserver -k" would end the other's tests. The lock
# is held by flock itself (-o), so no Wine or X process started here keeps it.
if [[ -z "${ZO_TREE_LOCKED:-}" ]]; then
    export ZO_TREE_LOCKED=1
    mkdir -p "${ZO_BUILD_ROOT:-$ROOT/build}"
    lock="${ZO_BUILD_ROOT:-$ROOT/build}/.run.lock"
    if ! flock -n "$lock" true; then
        echo "[build] another build or test run is using ${ZO_BUILD_ROOT:-$ROOT/build}: waiting for it"
    fi
    exec flock -o "$lock" bash "${BASH_SOURCE[0]}" "$@"
fi

archs=()
build_args=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        i686 | x86_64) archs+=("$1") ;;
        --) shift; build_args=("$@"); break ;;
        *) echo "usage: build.sh [i686] [x86_64] [-- <cmake --build arguments>]" >&2; exit 2 ;;
    esac
    shift
done
[[ ${#archs[@]} -gt 0 ]] || archs=(i686 x86_64)

status=0
for arch in "${archs[@]}"; do
    started=$SECONDS
    dir="$BUILD_ROOT/$arch"
    echo "[build] $arch: configuring $dir"
    mkdir -p "$dir"
    if ! cmake -S "$ROOT" -B "$dir" -G "Unix Makefiles" \
            -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-$arch.cmake" \
            -DCMAKE_BUILD_TYPE="${ZO_BUILD_TYPE:-RelWithDebInfo}" >"$dir/configure.log" 2>&1; then
        cat "$dir/configure.log"
        echo "[build] $arch: configuration FAILED"
        status=1
        continue
    fi
    grep -E '^-- .*(no sources|not built|no IDL)' "$dir/configure.log" || true
    echo "[build] $arch: building"
    if ! cmake --build "$dir" -j "$(nproc)" "${build_args[@]}"; then
        echo "[build] $arch: build FAILED"
        status=1
        continue
    fi
    echo "[build] $arch: built in $((SECONDS - started)) s"
done
exit $status
