# shellcheck shell=bash
# Runs 32-bit x86 Linux programs (and so 32-bit Wine) on an x86_64 kernel
# that cannot execute them itself (no IA32 emulation: "Exec format error"),
# by handing them to qemu-i386 through binfmt_misc.
#
# Meant to be sourced, as root:
#   source scripts/wine32-qemu.sh
#   zo_enable_i386_emulation || exit 1   # idempotent; every boot needs it once
#   zo_i386_works && /usr/lib/wine/wine program32.exe
#
# What zo_enable_i386_emulation does, each step only when needed:
#   1. nothing at all when the kernel runs 32-bit programs natively;
#   2. installs qemu-user-static (Debian package) for /usr/bin/qemu-i386-static;
#   3. builds, in $ZO_I386_DIR, a small LD_PRELOAD library for 32-bit
#      processes and the wrapper that binfmt_misc starts (see below);
#   4. mounts binfmt_misc on /proc/sys/fs/binfmt_misc;
#   5. registers the handler $ZO_I386_BINFMT_NAME for i386 ELF executables
#      and shared objects (e_type 2 and 3, e_machine 3) with the flags P
#      (keep argv[0]) and F (interpreter opened at registration, so it works
#      in any mount namespace).
#
# Why the preload library: qemu 7.2 (Debian 12) has two faults that break
# 32-bit Wine, and a small LD_PRELOAD library works around both:
#  - it treats mmap's MAP_FIXED_NOREPLACE as a mere hint and maps elsewhere.
#    The 32-bit Wine loader reserves its address space with that flag, gets
#    the wrong places back, and then bisects the upper 2 GiB in 64 KiB steps:
#    some 65,000 mmap/munmap calls, 60-90 s of CPU before every 32-bit Wine
#    process starts. With the fix a process starts in about a second.
#  - it leaves the trap number in the signal context of a fault at -1, so
#    Wine turns every page fault into an illegal-instruction exception: no
#    SEH/VEH-caught access violation, IsBadReadPtr, guard page or write watch
#    works, and the process ends in winedbg. The library wraps sigaction so
#    that the handlers for SIGSEGV, SIGBUS, SIGILL, SIGFPE and SIGTRAP see the
#    trap number the kernel would have given (the error code qemu does fill).
# The library is put in LD_PRELOAD as $ZO_I386_DIR/$PLATFORM/<lib>: 32-bit
# processes (PLATFORM i386..i686) load the fix, 64-bit ones (x86_64) an empty
# library, so the variable can pass from a 32-bit Wine process to a 64-bit
# one without the dynamic loader's "wrong ELF class" complaint. The wrapper
# that binfmt_misc starts puts it there, so it does not matter from which
# environment a 32-bit program is started. Without a compiler for it
# (gcc -m32, which needs no multilib packages here) qemu is registered bare:
# 32-bit programs run, but each 32-bit Wine process takes a minute or more to
# start and faults are misreported.
#
# Use a 64-bit (WoW64) Wine prefix: there Wine's own services are 64-bit
# and run natively, only the 32-bit programs go through qemu. A WINEARCH=win32
# prefix runs all of them under qemu: its wineboot had a service crash in
# qemu, and the first program after a wineserver start took some 40 s.
#
# Settings (environment):
#   ZO_I386_DIR          where the wrapper and the libraries go (default /usr/local/lib/zo-i386)
#   ZO_I386_BINFMT_NAME  name of the binfmt_misc entry (default zo-i386)
#   ZO_I386_NO_SHIM      1: register qemu without the preload library (slow Wine start)

: "${ZO_I386_DIR:=/usr/local/lib/zo-i386}"
: "${ZO_I386_BINFMT_NAME:=zo-i386}"

# Bumped whenever the generated files change, so older installs are redone.
ZO_I386_VERSION=2
ZO_I386_BINFMT_DIR=/proc/sys/fs/binfmt_misc
ZO_I386_QEMU=/usr/bin/qemu-i386-static
ZO_I386_LIB=libzo-i386-fix.so

zo_i386_log() { echo "[wine32-qemu] $*" >&2; }

# Returns 0 when a 32-bit x86 ELF executable runs here (natively or through
# a binfmt_misc handler). The probe is a 96-byte static ELF that only calls
# exit(42), so it needs no 32-bit library or package.
zo_i386_works() {
    local probe rc
    probe="$(mktemp "${TMPDIR:-/tmp}/zo-i386-probe.XXXXXX")" || return 1
    printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
    chmod 700 "$probe"
    timeout 20 "$probe" >/dev/null 2>&1
    rc=$?
    rm -f "$probe"
    [[ $rc -eq 42 ]]
}

# Returns 0 when binfmt_misc has an enabled entry other than ours for i386
# ELF files (e.g. one registered by hand), so a working probe proves nothing
# about the kernel. Ours, registered later, is the one the kernel picks.
zo_i386_other_handlers() {
    local e
    for e in "$ZO_I386_BINFMT_DIR"/*; do
        [[ -f $e && ${e##*/} != register && ${e##*/} != status && ${e##*/} != "$ZO_I386_BINFMT_NAME" ]] || continue
        grep -qx enabled "$e" 2>/dev/null && grep -Eq '^magic 7f454c460101010[0-9a-f]{17}0[23]000300$' "$e" 2>/dev/null && return 0
    done
    return 1
}

# Installs qemu-user-static when /usr/bin/qemu-i386-static is missing.
zo_i386_install_qemu() {
    [[ -x $ZO_I386_QEMU ]] && return 0
    command -v apt-get >/dev/null 2>&1 || { zo_i386_log "no apt-get to install qemu-user-static"; return 1; }
    zo_i386_log "installing qemu-user-static"
    local apt=(env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends qemu-user-static)
    if ! "${apt[@]}" >/dev/null 2>&1; then
        # The package lists may be missing or stale; an error about one
        # index (e.g. a security suite for i386) does not matter here.
        apt-get update >/dev/null 2>&1 || true
        "${apt[@]}" >/dev/null 2>&1 || true
    fi
    [[ -x $ZO_I386_QEMU ]] || { zo_i386_log "qemu-user-static did not install ($ZO_I386_QEMU missing)"; return 1; }
}

# Writes the preload libraries and the binfmt wrapper into $ZO_I386_DIR.
# Returns 0 when the wrapper with the 32-bit library is ready, 1 otherwise;
# sets ZO_I386_REBUILT=1 when it wrote them anew.
zo_i386_build_shim() {
    local dir=$ZO_I386_DIR stamp="$ZO_I386_DIR/.version"
    ZO_I386_REBUILT=0
    if [[ -x $dir/qemu-i386-wrapper && -f $dir/i686/$ZO_I386_LIB && -f $dir/x86_64/$ZO_I386_LIB &&
          "$(cat "$stamp" 2>/dev/null)" == "$ZO_I386_VERSION" ]]; then
        return 0
    fi
    command -v gcc >/dev/null 2>&1 || { zo_i386_log "no gcc to build the qemu fix library"; return 1; }
    local work
    work="$(mktemp -d "${TMPDIR:-/tmp}/zo-i386-build.XXXXXX")" || return 1
    # No headers and no C library at link time: gcc -m32 compiles and links
    # this without the 32-bit development packages (gcc-multilib). dlsym and
    # __errno_location are found in the process's libc when it is loaded.
    cat >"$work/fix.c" <<'EOF'
/* Two fixes for 32-bit programs under qemu-i386 7.2, loaded by LD_PRELOAD:
   1. mmap with MAP_FIXED_NOREPLACE maps at the address asked or fails with
      EEXIST (qemu takes the flag as a hint and maps elsewhere).
   2. Fault signals (SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGTRAP) reach the
      program's SA_SIGINFO handler with the x86 trap number in the
      sigcontext (qemu leaves -1 there; it does fill in the error code).
      Wine's handler needs it to tell an access violation from an illegal
      instruction, a divide by zero or a breakpoint. */
typedef unsigned int size_t;
typedef long long off64_t;
#define MAP_FAILED ((void *)-1)
#define MAP_FIXED_NOREPLACE 0x100000
#define EEXIST 17
#define RTLD_NEXT ((void *)-1)
extern void *dlsym(void *, const char *);
extern int *__errno_location(void);

typedef void *(*mmap_fn)(void *, size_t, int, int, int, long);
typedef void *(*mmap64_fn)(void *, size_t, int, int, int, off64_t);
typedef int (*munmap_fn)(void *, size_t);
static mmap_fn real_mmap;
static mmap64_fn real_mmap64;
static munmap_fn real_munmap;

static void *only_at(void *want, void *got, size_t len)
{
    if (got == MAP_FAILED || got == want) return got;
    if (!real_munmap) real_munmap = (munmap_fn)dlsym(RTLD_NEXT, "munmap");
    real_munmap(got, len);
    *__errno_location() = EEXIST;
    return MAP_FAILED;
}
void *mmap64(void *addr, size_t len, int prot, int flags, int fd, off64_t off)
{
    if (!real_mmap64) real_mmap64 = (mmap64_fn)dlsym(RTLD_NEXT, "mmap64");
    if (!(flags & MAP_FIXED_NOREPLACE)) return real_mmap64(addr, len, prot, flags, fd, off);
    return only_at(addr, real_mmap64(addr, len, prot, flags & ~MAP_FIXED_NOREPLACE, fd, off), len);
}
void *mmap(void *addr, size_t len, int prot, int flags, int fd, long off)
{
    if (!real_mmap) real_mmap = (mmap_fn)dlsym(RTLD_NEXT, "mmap");
    if (!(flags & MAP_FIXED_NOREPLACE)) return real_mmap(addr, len, prot, flags, fd, off);
    return only_at(addr, real_mmap(addr, len, prot, flags & ~MAP_FIXED_NOREPLACE, fd, off), len);
}

/* glibc i386 struct sigaction and the start of ucontext_t */
struct k_sigaction { void *handler; unsigned long mask[32]; int flags; void *restorer; };
struct siginfo_head { int si_signo, si_errno, si_code; };
#define SA_SIGINFO 4
#define UC_GREGS 5          /* uc_flags, uc_link, uc_stack(3 words) */
#define REG_TRAPNO 12
#define REG_ERR 13
typedef void (*sa_fn)(int, void *, void *);
typedef int (*sigaction_fn)(int, const struct k_sigaction *, struct k_sigaction *);
static sigaction_fn real_sigaction;
static volatile sa_fn handlers[32];

static void fix_trapno(int sig, void *info, void *uc)
{
    unsigned long *gregs = (unsigned long *)uc + UC_GREGS;
    int code = ((struct siginfo_head *)info)->si_code;
    if ((long)gregs[REG_TRAPNO] == -1)
    {
        switch (sig)
        {
        case 11: gregs[REG_TRAPNO] = (code == 1 || code == 2) ? 14 : 13; break; /* page fault / GPF */
        case 7:  gregs[REG_TRAPNO] = 14; break;
        case 5:  gregs[REG_TRAPNO] = (code == 2) ? 1 : 3; break;                /* single step / int3 */
        case 8:  gregs[REG_TRAPNO] = (code == 1) ? 0 : 16; break;               /* divide / x87 */
        case 4:  gregs[REG_TRAPNO] = 6; break;                                  /* invalid opcode */
        }
    }
    handlers[sig](sig, info, uc);
}

int sigaction(int sig, const struct k_sigaction *act, struct k_sigaction *old)
{
    struct k_sigaction copy;
    sa_fn prev = 0;
    int ret, wrap = (sig == 4 || sig == 5 || sig == 7 || sig == 8 || sig == 11);
    if (!real_sigaction) real_sigaction = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    if (!wrap) return real_sigaction(sig, act, old);
    prev = handlers[sig];
    if (act && (act->flags & SA_SIGINFO) && (unsigned long)act->handler > 1)
    {
        copy = *act;
        handlers[sig] = (sa_fn)act->handler;
        copy.handler = (void *)fix_trapno;
        act = &copy;
    }
    ret = real_sigaction(sig, act, old);
    if (ret == 0 && old && old->handler == (void *)fix_trapno) old->handler = (void *)prev;
    return ret;
}
EOF
    echo 'int zo_i386_fix_placeholder;' >"$work/empty.c"
    if ! gcc -m32 -O2 -fPIC -shared -nostdlib -fno-stack-protector -o "$work/lib32.so" "$work/fix.c" 2>"$work/log" ||
       ! gcc -O2 -fPIC -shared -nostdlib -o "$work/lib64.so" "$work/empty.c" 2>>"$work/log"; then
        zo_i386_log "could not build the qemu fix library: $(head -c 400 "$work/log")"
        rm -rf "$work"
        return 1
    fi
    mkdir -p "$dir" || { rm -rf "$work"; return 1; }
    local p
    for p in i386 i486 i586 i686; do
        mkdir -p "$dir/$p" && install -m 644 "$work/lib32.so" "$dir/$p/$ZO_I386_LIB"
    done
    mkdir -p "$dir/x86_64" && install -m 644 "$work/lib64.so" "$dir/x86_64/$ZO_I386_LIB"
    # binfmt_misc with the P flag starts: wrapper <binary path> <argv[0]> <arguments...>
    cat >"$work/wrapper" <<EOF
#!/bin/sh
# Started by binfmt_misc (entry $ZO_I386_BINFMT_NAME) for every 32-bit x86 program.
bin=\$1; argv0=\$2; shift 2
fix='$dir/\$PLATFORM/$ZO_I386_LIB'
case " \${LD_PRELOAD-} " in
    *"\$fix"*) ;;
    *) LD_PRELOAD="\$fix\${LD_PRELOAD:+ \$LD_PRELOAD}"; export LD_PRELOAD ;;
esac
exec $ZO_I386_QEMU -0 "\$argv0" "\$bin" "\$@"
EOF
    install -m 755 "$work/wrapper" "$dir/qemu-i386-wrapper"
    echo "$ZO_I386_VERSION" >"$stamp"
    rm -rf "$work"
    ZO_I386_REBUILT=1
}

# Registers (or re-registers, when it differs or when $2 is "force") the
# binfmt_misc entry for i386 ELF files with the given interpreter. With the
# F flag the kernel keeps the interpreter file it opened at registration, so
# a rewritten wrapper only takes effect once registered again.
zo_i386_register() {
    local interp=$1 force=${2:-} flags=PF entry="$ZO_I386_BINFMT_DIR/$ZO_I386_BINFMT_NAME"
    if [[ -e $entry ]]; then
        if [[ $force != force ]] && grep -qx "interpreter $interp" "$entry" && grep -qx "flags: $flags" "$entry"; then
            grep -qx enabled "$entry" || echo 1 >"$entry"
            return 0
        fi
        echo -1 >"$entry" 2>/dev/null || [[ ! -e $entry ]] ||
            { zo_i386_log "cannot remove the old entry $entry"; return 1; }
    fi
    local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    if ! echo ":$ZO_I386_BINFMT_NAME:M::$magic:$mask:$interp:$flags" >"$ZO_I386_BINFMT_DIR/register" 2>/dev/null; then
        # Someone else may have registered the same entry just now.
        grep -qx "interpreter $interp" "$entry" 2>/dev/null ||
            { zo_i386_log "binfmt_misc refused the entry for $interp"; return 1; }
    fi
}

# Makes 32-bit x86 programs run; see the top of this file. Returns 0 when
# they do, non-zero with a message on stderr when they still cannot.
zo_enable_i386_emulation() {
    if ! zo_i386_other_handlers && [[ ! -e $ZO_I386_BINFMT_DIR/$ZO_I386_BINFMT_NAME ]] && zo_i386_works; then
        return 0  # the kernel runs them itself
    fi
    if [[ $(id -u) -ne 0 ]]; then
        zo_i386_log "32-bit programs do not run here and setting up qemu-i386 needs root"
        return 1
    fi
    zo_i386_install_qemu || return 1
    local interp=$ZO_I386_QEMU force=""
    if [[ ${ZO_I386_NO_SHIM:-0} != 1 ]]; then
        if zo_i386_build_shim; then
            interp="$ZO_I386_DIR/qemu-i386-wrapper"
            [[ $ZO_I386_REBUILT == 1 ]] && force=force
        else
            zo_i386_log "registering qemu-i386 without the fix library: each 32-bit Wine process will take a minute or more to start, and faults in it are misreported"
        fi
    fi
    if [[ ! -e $ZO_I386_BINFMT_DIR/register ]]; then
        grep -qw binfmt_misc /proc/filesystems ||
            { zo_i386_log "the kernel has no binfmt_misc: 32-bit programs cannot run"; return 1; }
        mount -t binfmt_misc binfmt_misc "$ZO_I386_BINFMT_DIR" ||
            { zo_i386_log "cannot mount binfmt_misc on $ZO_I386_BINFMT_DIR"; return 1; }
    fi
    [[ $(cat "$ZO_I386_BINFMT_DIR/status" 2>/dev/null) == enabled ]] || echo 1 >"$ZO_I386_BINFMT_DIR/status"
    zo_i386_register "$interp" $force || return 1
    if ! zo_i386_works; then
        zo_i386_log "32-bit programs still do not run with $interp registered in binfmt_misc"
        return 1
    fi
}
