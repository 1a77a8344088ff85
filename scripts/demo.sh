#!/bin/bash
# Builds and runs the demo host ZoDemo.exe with the controls of ZoPropList.ocx.
# On a fresh Debian 12 machine it installs what it needs first.
#
#   scripts/demo.sh [--arch x86_64|i686] [--script <file>] [--screenshot <file.png>] [--no-setup]
#
# With a display (DISPLAY set) the demo window opens there. Without one, or
# with --screenshot, the demo runs under Xvfb, saves a PNG of its window and
# exits; the script prints where the PNG went (default build/demo/ZoDemo-<arch>.png).
# --script plays recorded input into the demo first (demo/sample/showcase.zoscript
# is the README's; the README describes the steps).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# shellcheck source=scripts/tree-lock.sh
source "$ROOT/scripts/tree-lock.sh"
zo_run_locked demo "${BASH_SOURCE[0]}" "$@"

arch=x86_64
screenshot=""
script=""
run_setup=1
while [[ $# -gt 0 ]]; do
    case "$1" in
        --arch) arch="${2:?--arch needs i686 or x86_64}"; shift ;;
        --screenshot) screenshot="${2:?--screenshot needs a file name}"; shift ;;
        --script) script="${2:?--script needs a file name}"; shift ;;
        --no-setup) run_setup=0 ;;
        *) echo "usage: demo.sh [--arch x86_64|i686] [--script <file>] [--screenshot <file.png>] [--no-setup]" >&2; exit 2 ;;
    esac
    shift
done

if [[ $run_setup -eq 1 ]]; then
    bash "$ROOT/scripts/setup.sh" || { echo "[demo] setup FAILED"; exit 1; }
fi
bash "$ROOT/scripts/build.sh" "$arch" || { echo "[demo] build FAILED"; exit 1; }

# shellcheck source=scripts/wine-env.sh
source "$ROOT/scripts/wine-env.sh"
bin="$ZO_BUILD_ROOT/$arch/bin"
if [[ ! -f "$bin/ZoDemo.exe" ]]; then
    echo "[demo] $bin/ZoDemo.exe was not built (demo/ has no sources yet?)"
    exit 1
fi
if [[ ! -f "$bin/ZoPropList.ocx" ]]; then
    echo "[demo] $bin/ZoPropList.ocx was not built (server/ has no sources yet?)"
    exit 1
fi

if [[ -z "${DISPLAY:-}" && -z "$screenshot" ]]; then
    screenshot="$ZO_BUILD_ROOT/demo/ZoDemo-$arch.png"
fi

trap 'zo_env_stop' EXIT
trap 'exit 130' INT TERM
if [[ -n "$screenshot" ]]; then
    unset DISPLAY
    zo_xvfb_start || exit 1
fi
# Where the kernel runs no 32-bit program, the 32-bit demo runs through the
# CPU emulator (registered before the prefix is made; see zo_i686_enable).
if [[ $arch == i686 ]]; then
    zo_i686_enable || true
fi
zo_wine_start || exit 1
if [[ $arch == i686 ]] && ! zo_i686_usable; then
    echo "[demo] cannot run the 32-bit demo: $ZO_I686_SKIP_REASON"
    exit 1
fi
zo_register_ocx "$arch" "$bin/ZoPropList.ocx" || exit 1

script_args=()
if [[ -n "$script" ]]; then
    [[ -f "$script" ]] || { echo "[demo] no script at $script"; exit 1; }
    script_args=(--script "$(zo_wine_path "$(realpath "$script")")")
fi

cd "$bin" || exit 1
if [[ -n "$screenshot" ]]; then
    screenshot="$(realpath -m "$screenshot")"
    mkdir -p "$(dirname "$screenshot")"
    rm -f "$screenshot"
    rc=0
    timeout 300 "$ROOT/scripts/wine-run.sh" "$arch" ./ZoDemo.exe "${script_args[@]}" \
        --screenshot "$(zo_wine_path "$screenshot")" </dev/null || rc=$?
    if [[ $rc -ne 0 ]]; then
        echo "[demo] ZoDemo.exe exited with code $rc"
        exit 1
    fi
    if [[ ! -s "$screenshot" ]]; then
        echo "[demo] ZoDemo.exe exited but wrote no screenshot at $screenshot"
        exit 1
    fi
    echo "[demo] screenshot: $screenshot ($(file -b "$screenshot"))"
else
    echo "[demo] ZoDemo.exe ($arch) is running on display $DISPLAY; close its window to finish"
    zo_wine_run "$arch" ./ZoDemo.exe "${script_args[@]}"
fi
