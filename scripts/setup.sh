#!/bin/bash
# Installs what building, testing and the demo need on Debian 12 (bookworm),
# starting from a minimal system with git and ca-certificates, run as root.
# Idempotent: when every package is present it does not touch apt at all.
set -euo pipefail

packages=(
    # Cross compilers (the -posix thread model, which GoogleTest needs),
    # windres, widl, and the build tools.
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools
    cmake make googletest
    # Wine for both bitnesses; libwine-dev has the standard IDL files.
    wine wine32:i386 wine64 libwine libwine:i386 libwine-dev
    # Wine's own fonts (Tahoma, MS Sans Serif, Marlett for drawn glyphs) and
    # the X extensions its display driver loads when present: libwine only
    # recommends them, and the controls' painting depends on them.
    fonts-wine
    libxrender1 libxrandr2 libxi6 libxcursor1 libxinerama1 libxcomposite1 libxfixes3 libxxf86vm1
    libxrender1:i386 libxrandr2:i386 libxi6:i386 libxcursor1:i386 libxinerama1:i386
    libxcomposite1:i386 libxfixes3:i386 libxxf86vm1:i386
    # The display for tests and screenshots.
    xvfb xauth
    # Tools the scripts use.
    file xz-utils curl ca-certificates imagemagick
)

log() { echo "[setup] $*"; }

# One dpkg query for everything installed: "name:arch" for each package in
# the "ii" state (arch "all" for architecture-independent packages).
native_arch="$(dpkg --print-architecture)"
declare -A present=()
while read -r name arch status; do
    [[ "$status" == ii ]] && present["$name:$arch"]=1
done < <(dpkg-query -W -f='${Package} ${Architecture} ${db:Status-Abbrev}\n' 2>/dev/null)

installed() {
    case "$1" in
        *:*) [[ -n "${present[$1]:-}" ]] ;;
        *) [[ -n "${present[$1:$native_arch]:-}" || -n "${present[$1:all]:-}" ]] ;;
    esac
}

missing=()
for package in "${packages[@]}"; do
    installed "$package" || missing+=("$package")
done
if [[ ${#missing[@]} -eq 0 ]] && dpkg --print-foreign-architectures | grep -qx i386; then
    log "all packages present"
    exit 0
fi

as_root=()
if [[ $(id -u) -ne 0 ]]; then
    if command -v sudo >/dev/null; then
        as_root=(sudo)
    else
        log "missing packages (${missing[*]}); run this script as root"
        exit 1
    fi
fi

log "installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${as_root[@]}" dpkg --add-architecture i386
fi

export DEBIAN_FRONTEND=noninteractive
# Wait for another apt or dpkg run (a second checkout's setup) instead of failing.
apt_options=(-q -o DPkg::Lock::Timeout=900)
apt_install() {
    "${as_root[@]}" apt-get install -y "${apt_options[@]}" --no-install-recommends "${missing[@]}"
}

# An index that fails to download (a mirror caught mid-sync, a third-party
# source out of reach) makes update exit non-zero; the install below decides.
"${as_root[@]}" apt-get update "${apt_options[@]}" || log "apt-get update reported errors; trying the install anyway"

if ! apt_install; then
    # Known mirror fault: the i386 index of bookworm-security is refused
    # ("File has unexpected size ... Mirror sync in progress") although the
    # index itself is served. Without it the i386 and amd64 versions of the
    # multi-arch libraries disagree and the install fails. Fetch the index
    # directly into apt's lists and try again.
    list=/var/lib/apt/lists/deb.debian.org_debian-security_dists_bookworm-security_main_binary-i386_Packages
    if compgen -G "$list*" >/dev/null; then
        log "apt-get install failed"
        exit 1
    fi
    url=http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz
    log "the i386 security index is missing: fetching $url"
    tmp="$(mktemp -d)"
    trap 'rm -rf "$tmp"' EXIT
    if command -v curl >/dev/null; then
        curl -fsSL -o "$tmp/Packages.xz" "$url"
    else
        /usr/lib/apt/apt-helper download-file "$url" "$tmp/Packages.xz"
    fi
    # apt-helper decompresses by itself, so xz-utils need not be there yet.
    /usr/lib/apt/apt-helper cat-file "$tmp/Packages.xz" >"$tmp/Packages"
    "${as_root[@]}" install -m 0644 "$tmp/Packages" "$list"
    apt_install
fi

log "done"
