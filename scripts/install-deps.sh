#!/usr/bin/env bash
# Installs what building, testing and running need on a Debian 12 machine, then
# checks the files the other scripts rely on, since an installed package name
# does not prove them (a recommended package skipped, a file removed by hand).
# Runs apt-get as root (CI) or through sudo, and only when a package is missing.
#
#   scripts/install-deps.sh                    install what is missing, then check
#   scripts/install-deps.sh --check [--root DIR]
#                                              only check, the files under DIR (default /)
#   scripts/install-deps.sh --list             the checked files, one "package<TAB>file" a line
#   scripts/install-deps.sh --packages         the packages it installs, one a line
#
# Exits 0 when every checked file is there; otherwise the last line names what
# is missing and the package that provides it, and the exit status is 1.
set -euo pipefail

# Installed without recommends, so every package the scripts need is named here,
# Wine's fonts (only recommended by Wine) among them. The scripts start Wine
# through its loaders, which wine64 holds.
packages=(cmake ninja-build g++ clang libclang-rt-14-dev python3 doctest-dev
          g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
          wine64 fonts-wine xvfb xdotool imagemagick zopfli zip)

machine=$(uname -m)
# What the scripts use, each with the listed package that brings it (directly
# or through its dependencies). A name may be a pattern; one match is enough.
# The Wine tiers run under 64-bit Wine wherever 32-bit Wine does not run, and
# these packages bring 64-bit Wine only.
files=(
    "cmake                      /usr/bin/cmake"
    "cmake                      /usr/bin/ctest"
    "cmake                      /usr/bin/cpack"
    "ninja-build                /usr/bin/ninja"
    "g++                        /usr/bin/g++"
    "clang                      /usr/bin/clang++"
    "libclang-rt-14-dev         /usr/lib/llvm-14/lib/clang/*/lib/linux/libclang_rt.fuzzer-$machine.a"
    "python3                    /usr/bin/python3"
    "doctest-dev                /usr/include/doctest/doctest.h"
    "g++-mingw-w64-i686         /usr/bin/i686-w64-mingw32-gcc-win32"
    "g++-mingw-w64-i686         /usr/bin/i686-w64-mingw32-g++-win32"
    "binutils-mingw-w64-i686    /usr/bin/i686-w64-mingw32-windres"
    "binutils-mingw-w64-i686    /usr/bin/i686-w64-mingw32-objdump"
    "g++-mingw-w64-x86-64       /usr/bin/x86_64-w64-mingw32-gcc-win32"
    "g++-mingw-w64-x86-64       /usr/bin/x86_64-w64-mingw32-g++-win32"
    "binutils-mingw-w64-x86-64  /usr/bin/x86_64-w64-mingw32-windres"
    "binutils-mingw-w64-x86-64  /usr/bin/x86_64-w64-mingw32-objdump"
    "wine64                     /usr/lib/wine/wine64"
    "wine64                     /usr/lib/wine/wineserver64"
    "fonts-wine                 /usr/share/wine/fonts/tahoma.ttf"
    "fonts-wine                 /usr/share/wine/fonts/tahomabd.ttf"
    "fonts-wine                 /usr/share/wine/fonts/marlett.ttf"
    "fonts-wine                 /usr/share/wine/fonts/ms_sans_serif.ttf"
    "xvfb                       /usr/bin/Xvfb"
    "xdotool                    /usr/bin/xdotool"
    "imagemagick                /usr/bin/import"
    "zopfli                     /usr/bin/zopflipng"
    "zip                        /usr/bin/zip"
)

# Prints "file (package)" for every checked file absent under root $1; a
# program must also be executable, any other file not empty.
missing_files() {
    local root=$1 entry package pattern match found
    shopt -s nullglob
    for entry in "${files[@]}"; do
        read -r package pattern <<<"$entry"
        found=
        for match in "$root"$pattern; do
            case "$pattern" in
                */bin/*|/usr/lib/wine/*) [ -f "$match" ] && [ -x "$match" ] && found=1 ;;
                *) [ -s "$match" ] && found=1 ;;
            esac
        done
        [ -n "$found" ] || echo "$pattern ($package)"
    done
}

# Checks the files under root $1 and prints the closing line; fails when any is missing.
check() {
    local root=$1 lost=() joined owners
    mapfile -t lost < <(missing_files "$root")
    if [ ${#lost[@]} -gt 0 ]; then
        joined=$(printf '%s, ' "${lost[@]}")
        owners=$(printf '%s\n' "${lost[@]}" | sed 's/.*(\(.*\))$/\1/' | sort -u | tr '\n' ' ')
        echo "install-deps: missing ${joined%, }; install: ${owners% }" >&2
        return 1
    fi
}

case "${1:-}" in
    --packages)
        printf '%s\n' "${packages[@]}"
        exit 0
        ;;
    --list)
        for entry in "${files[@]}"; do
            read -r package pattern <<<"$entry"
            printf '%s\t%s\n' "$package" "$pattern"
        done
        exit 0
        ;;
    --check)
        root=
        if [ "${2:-}" = --root ]; then
            root=${3:?usage: install-deps.sh --check [--root DIR]}
            root=${root%/}
        fi
        check "$root" || exit 1
        echo "install-deps: every file the scripts use is present${root:+ under $root}"
        exit 0
        ;;
    "") ;;
    *)
        echo "usage: install-deps.sh [--check [--root DIR] | --list | --packages]" >&2
        exit 2
        ;;
esac

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "installing: ${missing[*]}"
    sudo_cmd=()
    [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    # A failure here is reported by the check below, with the files it left missing.
    { "${sudo_cmd[@]}" apt-get update -qq &&
      "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
          "${missing[@]}" >/dev/null; } || echo "install-deps: apt-get could not install ${missing[*]}" >&2
fi
check ""
