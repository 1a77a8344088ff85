#!/bin/bash
# Builds ZoPropList.ocx, its tests, the demo and the benchmarks for 32-bit and
# 64-bit Windows, then runs the tests under Wine (in Xvfb), one CTest test per
# test case. On a fresh Debian 12 machine it installs what it needs first.
# Between building and testing it makes the release layout in dist/
# (scripts/package.sh) and registers each OCX from there, so the tests run
# what ships.
#
#   scripts/test.sh [--arch i686|x86_64]... [--no-setup] [-- <ctest arguments>]
#
# Both bitnesses are always built. The 64-bit tests always run. The 32-bit
# tests run natively where the kernel runs 32-bit programs, and otherwise
# through the CPU emulator qemu-i386, which this script registers first
# (zo_i686_enable in wine-env.sh; needs root once per boot). When 32-bit Wine
# still cannot run (see zo_i686_usable) a line says why they were skipped;
# ZO_I686_TESTS=off skips them, ZO_I686_TESTS=on makes that a failure. The
# exit code is 0 only when every build, registration and test passed.
# Example: scripts/test.sh --arch x86_64 -- -R '^property_list\.'
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# shellcheck source=scripts/tree-lock.sh
source "$ROOT/scripts/tree-lock.sh"
zo_run_locked test "${BASH_SOURCE[0]}" "$@"

test_archs=()
run_setup=1
ctest_args=()
while [[ $# -gt 0 ]]; do
    case "$1" in
        --arch) test_archs+=("${2:?--arch needs i686 or x86_64}"); shift ;;
        --no-setup) run_setup=0 ;;
        --) shift; ctest_args=("$@"); break ;;
        *) echo "usage: test.sh [--arch i686|x86_64]... [--no-setup] [-- <ctest arguments>]" >&2; exit 2 ;;
    esac
    shift
done
[[ ${#test_archs[@]} -gt 0 ]] || test_archs=(x86_64 i686)

started=$SECONDS
failures=()

if [[ $run_setup -eq 1 ]]; then
    bash "$ROOT/scripts/setup.sh" || { echo "[test] setup FAILED"; exit 1; }
fi

# shellcheck source=scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"

declare -A built=()
for arch in i686 x86_64; do
    if bash "$ROOT/scripts/build.sh" "$arch"; then
        built[$arch]=1
    else
        failures+=("$arch build")
    fi
done
echo "[test] builds finished after $((SECONDS - started)) s"

# The tests run what ships: the release layout in dist/ is made from the
# builds, and each bitness's OCX is registered from there.
# (The release tests look for it in <repo>/dist.)
DIST="$ROOT/dist"
if [[ ${#built[@]} -gt 0 ]] && ! ZO_DIST_DIR="$DIST" bash "$ROOT/scripts/package.sh" "${!built[@]}"; then
    failures+=("packaging")
fi

trap 'zo_env_stop' EXIT
trap 'exit 130' INT TERM
# Tests get a display of their own, never the desktop of whoever runs them.
unset DISPLAY
# Before the Wine environment starts, so that a new prefix gets its 32-bit
# side at once; a failure is reported (or counted) where the i686 tests run.
if [[ " ${test_archs[*]} " == *" i686 "* && -n "${built[i686]:-}" ]]; then
    zo_i686_enable || true
fi
if ! zo_xvfb_start || ! zo_wine_start; then
    echo "[test] the Wine environment could not be started: no test was run"
    exit 1
fi
echo "[test] Wine ready after $((SECONDS - started)) s"

for arch in "${test_archs[@]}"; do
    if [[ -z "${built[$arch]:-}" ]]; then
        echo "[test] $arch: not built, so its tests were not run"
        continue
    fi
    if [[ $arch == i686 ]] && ! zo_i686_usable; then
        echo "[test] i686: 32-bit test run skipped: $ZO_I686_SKIP_REASON"
        [[ "${ZO_I686_TESTS:-auto}" == on ]] && failures+=("i686 tests (32-bit Wine unusable)")
        continue
    fi
    if [[ -f "$DIST/$arch/ZoPropList.ocx" ]]; then
        zo_register_ocx "$arch" "$DIST/$arch/ZoPropList.ocx" || failures+=("$arch registration")
    else
        echo "[test] $arch: no ZoPropList.ocx in $DIST/$arch: nothing registered"
        failures+=("$arch registration")
    fi
    echo "[test] $arch: running the tests"
    arch_started=$SECONDS
    if ! ctest --test-dir "$ZO_BUILD_ROOT/$arch" --output-on-failure --timeout 60 \
            --no-tests=error "${ctest_args[@]}"; then
        failures+=("$arch tests")
    fi
    echo "[test] $arch: tests took $((SECONDS - arch_started)) s"
done

echo "[test] finished after $((SECONDS - started)) s"
if [[ ${#failures[@]} -gt 0 ]]; then
    printf '[test] FAILED: %s\n' "${failures[@]}"
    exit 1
fi
echo "[test] all builds and test runs passed"
