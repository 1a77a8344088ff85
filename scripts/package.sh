#!/bin/bash
# Assembles the release layout in dist/ from the built trees: each bitness's
# OCX and type libraries, once the headers, GUID files, IDL files, API
# reference, README and licence (cmake --install, see cmake/ZoInstall.cmake),
# and SHA256SUMS over every file.
#
#   scripts/package.sh [i686] [x86_64]
#
# With no bitness named it packages every one that has a built OCX. dist/ is
# made afresh each time, so it never holds a file of an earlier build.
# Settings: ZO_BUILD_ROOT (default <repo>/build), ZO_DIST_DIR (default <repo>/dist).
set -uo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_ROOT="${ZO_BUILD_ROOT:-$ROOT/build}"
DIST="${ZO_DIST_DIR:-$ROOT/dist}"

# The bitnesses in a fixed order, whatever the order asked for: the shared
# files come from the first.
archs=()
for arch in i686 x86_64; do
    if [[ $# -eq 0 && -f "$BUILD_ROOT/$arch/bin/ZoPropList.ocx" ]] || [[ " $* " == *" $arch "* ]]; then
        archs+=("$arch")
    fi
done
for arch in "$@"; do
    [[ $arch == i686 || $arch == x86_64 ]] || { echo "usage: package.sh [i686] [x86_64]" >&2; exit 2; }
done
if [[ ${#archs[@]} -eq 0 ]]; then
    echo "[package] nothing to package: build an OCX first (scripts/build.sh)" >&2
    exit 1
fi

# Clear only a folder this script made (or an empty one), never whatever a wrong ZO_DIST_DIR names.
if [[ -e $DIST && ! -f $DIST/SHA256SUMS && -n $(ls -A "$DIST") ]]; then
    echo "[package] refusing to clear $DIST: it is not a release folder" >&2
    exit 2
fi
rm -rf "$DIST"
mkdir -p "$DIST"
status=0
shared_installed=0
for arch in "${archs[@]}"; do
    if [[ ! -f "$BUILD_ROOT/$arch/bin/ZoPropList.ocx" ]]; then
        echo "[package] $arch: no ZoPropList.ocx in $BUILD_ROOT/$arch/bin: not packaged" >&2
        status=1
        continue
    fi
    components=(zo_binaries)
    [[ $shared_installed -eq 0 ]] && components+=(zo_sdk)
    for component in "${components[@]}"; do
        if ! cmake --install "$BUILD_ROOT/$arch" --prefix "$DIST" --component "$component" >/dev/null; then
            echo "[package] $arch: installing $component FAILED" >&2
            status=1
        fi
    done
    shared_installed=1
done

# Sorted by path in the C locale, so the file is the same for the same files.
if ! (cd "$DIST" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort |
        xargs -r -d '\n' sha256sum -- >SHA256SUMS); then
    echo "[package] writing SHA256SUMS FAILED" >&2
    status=1
fi
[[ $status -eq 0 ]] && echo "[package] $DIST: ${archs[*]}"
exit $status
