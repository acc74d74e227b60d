#!/usr/bin/env bash
# Builds lumivane.exe and the baseline tray program (bench/) with the release
# flags, then measures both side by side under Wine on a private Xvfb and
# prints one table. Takes about five minutes; keep the machine otherwise quiet.
#   scripts/bench.sh [--starts N] [--popups N] [--idle SECONDS] [--json FILE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
jobs=$(nproc)

build() { # tree, toolchain, extra cmake args..., -- targets...
    local tree=$1 toolchain=$2; shift 2
    local args=() targets=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do args+=("$1"); shift; done
    shift
    targets=("$@")
    cmake --no-warn-unused-cli -S "$root" -B "$root/build/$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" \
          -DCMAKE_BUILD_TYPE=Release "${args[@]}" >/dev/null
    cmake --build "$root/build/$tree" -j"$jobs" --target "${targets[@]}"
}

# The timed runs use 64-bit Wine, which also runs where the kernel cannot run
# 32-bit Linux programs.
build mingw64 mingw-x86_64 -- lumivane baseline meter probe
build bench-timing mingw-x86_64 -DLUMIVANE_TIMING=ON -DLUMIVANE_TESTS=OFF -- lumivane baseline
# Both exes ship; the 32-bit one is the larger, so its size is the one that counts.
build mingw32 mingw-i686 -- lumivane baseline

template="$root/build/mingw64/wine-template"
[ -f "$template/system.reg" ] || LUMIVANE_WINE_ARCH=win64 "$root/scripts/wine-prefix.sh" "$template" >/dev/null

exec python3 "$root/bench/bench.py" --tree "$root/build/mingw64" --timing-tree "$root/build/bench-timing" \
     --shipped-tree "$root/build/mingw32" --json "$root/build/mingw64/artifacts/bench/results.json" "$@"
