#!/usr/bin/env bash
# Runs every test: native unit tests (AddressSanitizer, UndefinedBehaviorSanitizer),
# then the Windows builds: Win32 tests and end-to-end tests under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/install-deps.sh"

jobs=$(nproc)
configure() { # dir, extra args...
    local dir=$1; shift
    cmake -S "$root" -B "$root/build/$dir" -G Ninja "$@" >/dev/null
    cmake --build "$root/build/$dir" -j"$jobs"
}

configure native -DCMAKE_BUILD_TYPE=Debug
# libFuzzer targets of the pure logic: corpus replay and a short run each.
CC=clang CXX=clang++ configure fuzz -DCMAKE_BUILD_TYPE=Debug -DLUMIVANE_FUZZ=ON -DLUMIVANE_TESTS=OFF
# The 32-bit program.
configure mingw32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
# Where the kernel cannot run 32-bit Linux code, 32-bit Wine cannot start; the
# Wine tiers then run the 64-bit build of the same sources under 64-bit Wine.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    wine_tree=mingw32
else
    wine_tree=mingw64
    configure mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
fi

status=0
ctest --test-dir "$root/build/native" --output-on-failure -j"$jobs" || status=1
ctest --test-dir "$root/build/fuzz" --output-on-failure -j"$jobs" || status=1
if [ "$wine_tree" != mingw32 ]; then
    ctest --test-dir "$root/build/mingw32" --output-on-failure -R '^exe\.' || status=1
fi
ctest --test-dir "$root/build/$wine_tree" --output-on-failure -j"$jobs" || status=1
exit $status
