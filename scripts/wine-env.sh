# shellcheck shell=bash
# The Wine environment the cross-built Windows programs run in: an X display
# from Xvfb, the project's own Wine prefix, a persistent wineserver, and one
# place that knows how to start a program of either bitness.
#
# Sourced by test.sh, demo.sh and wine-run.sh; by hand:
#   source scripts/wine-env.sh
#   zo_xvfb_start && zo_wine_start && zo_wine_run x86_64 build/x86_64/bin/ZoDemo.exe
#   zo_env_stop
#
# One prefix serves both bitnesses: a 64-bit prefix runs 32-bit programs
# through WoW64, as 64-bit Windows does, so the 32-bit and the 64-bit OCX are
# registered side by side (the 32-bit one in the WOW6432Node view).
#
# Settings (environment):
#   ZO_BUILD_ROOT          folder of the build trees (default <repo>/build)
#   ZO_WINE_PREFIX         the Wine prefix (default $ZO_BUILD_ROOT/wine-prefix)
#   ZO_WINE64_LOADER       command that runs a 64-bit program (default /usr/lib/wine/wine64)
#   ZO_WINE32_LOADER       command that runs a 32-bit program (default /usr/lib/wine/wine);
#                          it may be several words, e.g. an emulator and then the loader
#   ZO_I686_TESTS          auto (default): run the 32-bit tests when 32-bit Wine runs, natively
#                          or through the CPU emulator zo_i686_enable registers where the kernel
#                          cannot run 32-bit programs, and passes the probe in time; otherwise
#                          skip them with the reason. on: the same, but probe with a long limit
#                          and fail when 32-bit Wine is unusable. off: never
#   ZO_I686_PROBE_TIMEOUT  seconds a warm 32-bit process that starts OLE may take
#                          (default 30; 1800 with ZO_I686_TESTS=on)
#
# Every 32-bit program started through zo_wine_run/zo_wine_exec (and so every
# 32-bit test) gets ZO_EMULATED_CPU=1 in its environment when 32-bit programs
# run here through a CPU emulator, so that a test can size a long loop to it.

ZO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
: "${ZO_BUILD_ROOT:=$ZO_ROOT/build}"
: "${ZO_WINE_PREFIX:=$ZO_BUILD_ROOT/wine-prefix}"
export ZO_ROOT ZO_BUILD_ROOT ZO_WINE_PREFIX

zo_log() { echo "[zo] $*" >&2; }

# The variables every Wine process of the project gets.
zo_wine_env() {
    export WINEPREFIX="$ZO_WINE_PREFIX"
    export WINEARCH=win64
    export WINEDEBUG="${WINEDEBUG:--all}"
    # No Mono or Gecko install prompts: the tests need neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Sets the array ZO_LOADER to the command that runs a program of the bitness.
zo_loader_for() {
    case "$1" in
        x86_64) read -r -a ZO_LOADER <<<"${ZO_WINE64_LOADER:-/usr/lib/wine/wine64}" ;;
        i686)   read -r -a ZO_LOADER <<<"${ZO_WINE32_LOADER:-/usr/lib/wine/wine}" ;;
        *) zo_log "unknown architecture '$1' (i686 or x86_64)"; return 2 ;;
    esac
}

# zo_wine_run <arch> <program> [arguments...]: runs a Windows program and
# returns its exit code. zo_wine_exec does the same in place of the shell.
zo_wine_run() {
    local arch="$1"; shift
    zo_loader_for "$arch" || return
    zo_wine_env
    (zo_cpu_env "$arch" && exec "${ZO_LOADER[@]}" "$@")
}
zo_wine_exec() {
    local arch="$1"; shift
    zo_loader_for "$arch" || return
    zo_wine_env
    zo_cpu_env "$arch"
    exec "${ZO_LOADER[@]}" "$@"
}

# Exports ZO_EMULATED_CPU=1 for a 32-bit program when the kernel hands 32-bit
# programs to a CPU emulator (binfmt_misc); a value set by hand for a 32-bit
# program (say, with an emulator named in ZO_WINE32_LOADER) is kept. A 64-bit
# program never gets it.
zo_cpu_env() {
    if [[ $1 != i686 ]]; then
        unset ZO_EMULATED_CPU
    elif zo_i386_binfmt_emulator >/dev/null; then
        export ZO_EMULATED_CPU=1
    fi
    return 0
}

# The Windows form of an absolute Unix path (drive Z: is the Unix root).
zo_wine_path() {
    local path
    path="$(realpath -m "$1")"
    printf 'Z:%s\n' "${path//\//\\}"
}

# Starts Xvfb on a free display and exports DISPLAY.
zo_xvfb_start() {
    if [[ -n "${ZO_XVFB_PID:-}" ]] && kill -0 "$ZO_XVFB_PID" 2>/dev/null; then
        return 0
    fi
    local display_file display=""
    display_file="$(mktemp)"
    # -displayfd picks a free display and writes its number once the server
    # accepts connections. Output to /dev/null: no pipe held open for CTest.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$display_file" </dev/null >/dev/null 2>&1 &
    ZO_XVFB_PID=$!
    local tries
    for ((tries = 0; tries < 200; tries++)); do
        display="$(tr -dc '0-9' <"$display_file")"
        [[ -n "$display" ]] && break
        if ! kill -0 "$ZO_XVFB_PID" 2>/dev/null; then break; fi
        sleep 0.05
    done
    rm -f "$display_file"
    if [[ -z "$display" ]]; then
        zo_log "Xvfb did not start"
        zo_xvfb_stop
        return 1
    fi
    export DISPLAY=":$display"
    zo_log "Xvfb (pid $ZO_XVFB_PID) on display $DISPLAY"
}

zo_xvfb_stop() {
    if [[ -n "${ZO_XVFB_PID:-}" ]]; then
        kill "$ZO_XVFB_PID" 2>/dev/null || true
        wait "$ZO_XVFB_PID" 2>/dev/null || true
        ZO_XVFB_PID=""
    fi
}

# Builds (once) a tiny program of the bitness that starts OLE, creates a
# window and exits with 42: what every test process does first, so its run
# time tells whether Wine of that bitness is practical for the tests.
zo_probe_program() {
    local arch="$1" dir="$ZO_BUILD_ROOT/wine-probe"
    local exe="$dir/probe-ole-$arch.exe"
    if [[ ! -f "$exe" ]]; then
        mkdir -p "$dir"
        cat >"$dir/probe.c" <<'EOF_PROBE'
#include <windows.h>
#include <ole2.h>
int main(void)
{
    HWND window;
    if (FAILED(OleInitialize(NULL)))
        return 2;
    window = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 8, 8,
                             NULL, NULL, NULL, NULL);
    if (!window)
        return 1;
    DestroyWindow(window);
    OleUninitialize();
    return 42;
}
EOF_PROBE
        "$arch-w64-mingw32-gcc-posix" -O2 -s -o "$exe.tmp" "$dir/probe.c" -lole32 || return 1
        mv "$exe.tmp" "$exe"
    fi
    printf '%s\n' "$exe"
}

# Whether the 32-bit loader can be executed at all (fast check).
zo_wine32_loader_runs() {
    zo_loader_for i686 || return 1
    timeout 60 "${ZO_LOADER[@]}" --version >/dev/null 2>&1
}

# Creates the prefix the first time (about 25 s; some 45 s when the 32-bit
# side is set up through the CPU emulator) and applies the project's
# settings. Safe to call from several processes at once.
zo_prefix_prepare() {
    zo_wine_env
    mkdir -p "$WINEPREFIX"
    local marker="$WINEPREFIX/.zo-prepared" version
    version="$(/usr/lib/wine/wine64 --version 2>/dev/null)"
    (
        flock 9
        if [[ -f "$marker" ]] && grep -qxF "wine=$version" "$marker"; then
            exit 0
        fi
        wow64=no
        log="$ZO_BUILD_ROOT/wine-prefix.log"
        zo_wine32_loader_runs && wow64=yes
        zo_log "preparing Wine prefix $WINEPREFIX (once; 32-bit side: $wow64; log: $log)"
        # --update, not --init: the first process of a wineserver session runs
        # the session's boot (wineboot --init, which makes the prefix when it
        # is new and starts services.exe) before its own program. A second
        # --init would start a second services.exe: two service managers in
        # one session share the services' control pipes, RpcSs never starts,
        # and every explorer.exe (the desktop) then waits 10 s for it as it
        # starts and 10 s more as it ends. --update makes or updates the
        # prefix and starts no service.
        if ! timeout 1500 /usr/lib/wine/wine64 wineboot.exe --update >"$log" 2>&1; then
            zo_log "wineboot failed; see $log"
            exit 1
        fi
        # Managed=N: without a window manager Wine waits ~2 s whenever a
        # managed top-level window is hidden. ShowCrashDialog=0: a crashing
        # test prints its backtrace instead of waiting on a dialog.
        settings="$WINEPREFIX/zo-settings.reg"
        printf '%s\r\n' 'REGEDIT4' '' \
            '[HKEY_CURRENT_USER\Software\Wine\X11 Driver]' '"Managed"="N"' '' \
            '[HKEY_CURRENT_USER\Software\Wine\WineDbg]' '"ShowCrashDialog"=dword:00000000' '' \
            >"$settings"
        if ! timeout 300 /usr/lib/wine/wine64 regedit.exe /S "$(zo_wine_path "$settings")" >>"$log" 2>&1; then
            zo_log "could not apply the prefix settings; see $log"
            exit 1
        fi
        printf 'wine=%s\nwow64=%s\n' "$version" "$wow64" >"$marker"
    ) 9>"$WINEPREFIX.lock"
}

# Completes the 32-bit side of a prefix made while 32-bit Wine could not run.
zo_prefix_add_wow64() {
    local marker="$WINEPREFIX/.zo-prepared"
    grep -qx 'wow64=yes' "$marker" 2>/dev/null && return 0
    zo_log "setting up the 32-bit side of the Wine prefix (once)"
    timeout 1500 /usr/lib/wine/wine64 wineboot.exe --update \
        >>"$ZO_BUILD_ROOT/wine-prefix.log" 2>&1 || return 1
    sed -i 's/^wow64=no$/wow64=yes/' "$marker"
}

# Builds (once, and again when its source changes) the 64-bit desktop
# holder, scripts/desktop-holder.c, and prints its path.
zo_desktop_holder_program() {
    local dir="$ZO_BUILD_ROOT/wine-probe" source="$ZO_ROOT/scripts/desktop-holder.c"
    local exe="$dir/desktop-holder-x86_64.exe"
    if [[ ! -f "$exe" || "$source" -nt "$exe" ]]; then
        mkdir -p "$dir"
        x86_64-w64-mingw32-gcc-posix -O2 -s -o "$exe.tmp" "$source" || return 1
        mv "$exe.tmp" "$exe"
    fi
    printf '%s\n' "$exe"
}

# Starts the desktop holder and waits (up to 120 s) until it has the desktop
# window. While it runs, Wine keeps the desktop (one explorer.exe) for every
# program of the session instead of closing it a second after each program
# and starting another for the next; see scripts/desktop-holder.c. Its output,
# and that of the explorer.exe it may start, goes to a file, never to a pipe
# someone waits on. Sets ZO_DESKTOP_HOLDER_PID; zo_desktop_release ends it.
zo_desktop_hold() {
    if [[ -n "${ZO_DESKTOP_HOLDER_PID:-}" ]] && kill -0 "$ZO_DESKTOP_HOLDER_PID" 2>/dev/null; then
        return 0
    fi
    local holder log="$ZO_BUILD_ROOT/wine-desktop.log" tries
    holder="$(zo_desktop_holder_program)" || return 1
    zo_wine_env
    # Emptied here, not by the redirection of the background job, which may
    # come after the first look for "ready" (and find the last run's).
    : >"$log"
    /usr/lib/wine/wine64 "$holder" </dev/null >>"$log" 2>&1 &
    ZO_DESKTOP_HOLDER_PID=$!
    for ((tries = 0; tries < 1200; tries++)); do
        grep -q '^ready' "$log" 2>/dev/null && return 0
        kill -0 "$ZO_DESKTOP_HOLDER_PID" 2>/dev/null || break
        sleep 0.1
    done
    zo_log "the desktop holder did not get the desktop window; see $log"
    zo_desktop_release
    return 1
}

# Ends the desktop holder (by its process id), if it runs: SIGTERM, and
# SIGKILL if it is still there 5 s later.
zo_desktop_release() {
    if [[ -n "${ZO_DESKTOP_HOLDER_PID:-}" ]]; then
        local tries
        kill "$ZO_DESKTOP_HOLDER_PID" 2>/dev/null || true
        for ((tries = 0; tries < 50; tries++)); do
            kill -0 "$ZO_DESKTOP_HOLDER_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill -KILL "$ZO_DESKTOP_HOLDER_PID" 2>/dev/null || true
        wait "$ZO_DESKTOP_HOLDER_PID" 2>/dev/null || true
        ZO_DESKTOP_HOLDER_PID=""
    fi
}

# Starts the prefix's persistent wineserver (so that each test process starts
# in ~0.1 s instead of ~2.5 s), prepares the prefix, starts the prefix's
# services through a 64-bit program run, and keeps the desktop open with the
# desktop holder; fails when 64-bit Wine cannot run a program.
zo_wine_start() {
    zo_wine_env
    mkdir -p "$WINEPREFIX"
    ZO_WINE_STARTED=1
    if [[ -z "${ZO_WINESERVER_PID:-}" ]]; then
        wineserver -f -p </dev/null >/dev/null 2>&1 &
        ZO_WINESERVER_PID=$!
        sleep 0.3
        if ! kill -0 "$ZO_WINESERVER_PID" 2>/dev/null; then
            wait "$ZO_WINESERVER_PID" 2>/dev/null || true
            ZO_WINESERVER_PID=""
            zo_log "a wineserver was already running for $WINEPREFIX: using it"
        fi
    fi
    zo_prefix_prepare || return 1
    local probe rc=0
    probe="$(zo_probe_program x86_64)" || return 1
    timeout 300 /usr/lib/wine/wine64 "$probe" </dev/null >/dev/null 2>&1 || rc=$?
    if [[ $rc -ne 42 ]]; then
        zo_log "64-bit Wine could not run a trivial program (exit code $rc)"
        return 1
    fi
    # Without the holder every program still works, only each one that shows
    # a window may wait for a desktop of its own.
    zo_desktop_hold || zo_log "carrying on without the desktop holder"
    zo_log "wineserver${ZO_WINESERVER_PID:+ (pid $ZO_WINESERVER_PID)}, prefix services${ZO_DESKTOP_HOLDER_PID:+ and the desktop (holder pid $ZO_DESKTOP_HOLDER_PID)} are up"
}

# Ends every Wine process of the prefix, and the wineserver with them.
zo_wine_stop() {
    zo_desktop_release
    if [[ -n "${ZO_WINE_STARTED:-}" ]]; then
        zo_wine_env
        timeout 60 wineserver -k >/dev/null 2>&1 || true
        ZO_WINE_STARTED=""
    fi
    if [[ -n "${ZO_WINESERVER_PID:-}" ]]; then
        local tries
        for ((tries = 0; tries < 100; tries++)); do
            kill -0 "$ZO_WINESERVER_PID" 2>/dev/null || break
            sleep 0.1
        done
        kill "$ZO_WINESERVER_PID" 2>/dev/null || true
        wait "$ZO_WINESERVER_PID" 2>/dev/null || true
        ZO_WINESERVER_PID=""
    fi
}

zo_env_stop() {
    zo_wine_stop
    zo_xvfb_stop
}

# Milliseconds a warm run of the probe takes under the given bitness; sets
# ZO_PROBE_MS and returns the probe's exit code (42 is success, 124 timed out).
zo_time_probe() {
    local arch="$1" limit="$2" probe rc=0 started
    zo_loader_for "$arch" || return 2
    probe="$(zo_probe_program "$arch")" || return 2
    started=$(date +%s%N)
    timeout "$limit" "${ZO_LOADER[@]}" "$probe" </dev/null >/dev/null 2>&1 || rc=$?
    ZO_PROBE_MS=$((($(date +%s%N) - started) / 1000000))
    return $rc
}

# The binfmt_misc entry (name and interpreter) through which the kernel runs
# 32-bit x86 ELF programs, if any: then 32-bit Wine runs under a CPU emulator.
zo_i386_binfmt_emulator() {
    local entry magic
    for entry in /proc/sys/fs/binfmt_misc/*; do
        [[ -f "$entry" && "$entry" != */register && "$entry" != */status ]] || continue
        grep -qx enabled "$entry" 2>/dev/null || continue
        magic="$(sed -n 's/^magic //p' "$entry")"
        # ELF, 32-bit, little-endian, with e_machine (bytes 18-19) = 3 (EM_386).
        if [[ "$magic" == 7f454c460101* && "${magic:36:4}" == 0300 ]]; then
            printf "%s (binfmt_misc '%s')\n" "$(sed -n 's/^interpreter //p' "$entry")" "${entry##*/}"
            return 0
        fi
    done
    return 1
}

# Makes 32-bit programs run where the kernel cannot run them itself, by
# registering the CPU emulator qemu-i386 with binfmt_misc (zo_enable_i386_emulation
# in scripts/wine32-qemu.sh: installs qemu-user-static the first time and
# registers it once per boot; needs root for that). Call it before
# zo_wine_start, so that a new prefix is made with its 32-bit side at once.
# Does nothing with ZO_I686_TESTS=off. Returns 1 and sets ZO_I686_ENABLE_FAILURE
# (which zo_i686_usable then reports) when 32-bit programs still cannot run.
zo_i686_enable() {
    ZO_I686_ENABLE_FAILURE=""
    [[ "${ZO_I686_TESTS:-auto}" == off ]] && return 0
    # As root, always: it does nothing where the kernel runs 32-bit programs
    # and keeps an emulator registered earlier up to date. Otherwise only
    # when 32-bit Wine does not run yet (it then says that it needs root).
    if [[ $(id -u) -eq 0 ]] || ! zo_wine32_loader_runs; then
        # shellcheck source=scripts/wine32-qemu.sh
        source "$ZO_ROOT/scripts/wine32-qemu.sh"
        if ! zo_enable_i386_emulation; then
            ZO_I686_ENABLE_FAILURE="32-bit programs do not run on this kernel and the CPU emulator for them could not be registered (scripts/wine32-qemu.sh, messages above)"
            return 1
        fi
    fi
}

# Decides whether the 32-bit tests can be run here. Returns 0 when they can;
# otherwise sets ZO_I686_SKIP_REASON and returns 1. Needs zo_wine_start first
# (and zo_i686_enable before that where the kernel runs no 32-bit program).
# They run when the 32-bit loader runs, natively or through a CPU emulator,
# and a warm 32-bit process that starts OLE finishes within the probe limit:
# about 0.3 s natively, a few seconds through qemu-i386 with its fix library;
# a run that takes longer than the limit (qemu without the library takes a
# minute or more per process) could not finish a test in its 60 s.
zo_i686_usable() {
    ZO_I686_SKIP_REASON=""
    local mode="${ZO_I686_TESTS:-auto}" limit emulator
    case "$mode" in
        off) ZO_I686_SKIP_REASON="ZO_I686_TESTS=off"; return 1 ;;
        on) limit="${ZO_I686_PROBE_TIMEOUT:-1800}" ;;
        *) limit="${ZO_I686_PROBE_TIMEOUT:-30}" ;;
    esac
    if [[ -n "${ZO_I686_ENABLE_FAILURE:-}" ]]; then
        ZO_I686_SKIP_REASON="$ZO_I686_ENABLE_FAILURE"
        return 1
    fi
    zo_loader_for i686 || return 1
    local loader="${ZO_LOADER[*]}" output
    if ! output="$(timeout 60 "${ZO_LOADER[@]}" --version 2>&1)"; then
        ZO_I686_SKIP_REASON="the 32-bit Wine loader '$loader' cannot run on this machine ($(printf '%s' "$output" | tail -n 1))"
        return 1
    fi
    if ! zo_prefix_add_wow64; then
        ZO_I686_SKIP_REASON="the 32-bit side of the Wine prefix could not be set up"
        return 1
    fi
    # The first 32-bit process starts the prefix's 32-bit side: time the second.
    local rc=0 how="natively" waited=$((limit > 300 ? limit : 300))
    emulator="$(zo_i386_binfmt_emulator)" && how="through the CPU emulator $emulator"
    zo_time_probe i686 "$waited" || rc=$?
    [[ $rc -eq 42 ]] && { rc=0; waited=$limit; zo_time_probe i686 "$limit" || rc=$?; }
    if [[ $rc -eq 124 ]]; then
        ZO_I686_SKIP_REASON="a 32-bit program that starts OLE did not finish within ${waited} s under '$loader' ($how), too slow for one process per test (ZO_I686_PROBE_TIMEOUT raises the limit)"
        return 1
    elif [[ $rc -ne 42 ]]; then
        ZO_I686_SKIP_REASON="a 32-bit program that starts OLE failed under '$loader' ($how; exit code $rc)"
        return 1
    fi
    zo_log "32-bit Wine works ('$loader', $how; a process that starts OLE takes ${ZO_PROBE_MS} ms)"
}

# Registers a built OCX in the prefix (idempotent: registering again rewrites
# the same keys). The arch picks the registry view, as regsvr32 does on Windows.
zo_register_ocx() {
    local arch="$1" ocx="$2" rc=0
    zo_wine_run "$arch" regsvr32.exe /s "$(zo_wine_path "$ocx")" </dev/null || rc=$?
    if [[ $rc -ne 0 ]]; then
        zo_log "$arch: regsvr32 $ocx failed (exit code $rc)"
        return 1
    fi
    zo_log "$arch: registered $ocx"
}
