#!/usr/bin/env bash
# Builds Lumivane and starts it in a Wine desktop (with its taskbar and tray) on
# $DISPLAY, or on a private Xvfb when there is no display; saves a screenshot.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

# 32-bit Wine needs a kernel that runs 32-bit Linux programs; elsewhere the
# 64-bit build of the same program runs under 64-bit Wine.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    tree=mingw32; toolchain=mingw-i686; export LUMIVANE_WINE_ARCH=win32
else
    tree=mingw64; toolchain=mingw-x86_64; export LUMIVANE_WINE_ARCH=win64
fi
cmake -S "$root" -B "$root/build/$tree" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/$tree" -j"$(nproc)" --target lumivane probe
. "$root/scripts/wine-env.sh"

prefix="$root/build/run-prefix"
[ -f "$prefix/system.reg" ] || "$root/scripts/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix"
mkdir -p "$prefix/drive_c/Lumivane" "$root/artifacts"
cp "$root/build/$tree/src/lumivane.exe" "$prefix/drive_c/Lumivane/"

private=
if [ -z "${DISPLAY:-}" ]; then
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$fdfile" >/dev/null 2>&1 &
    private=$!
    for _ in $(seq 1 200); do [ -s "$fdfile" ] && break; sleep 0.05; done
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
fi

"$WINE" explorer /desktop=shell,800x600 'C:\Lumivane\lumivane.exe' >/dev/null 2>&1 &
probe() { "$WINE" "$root/build/$tree/tests/e2e/probe.exe" "$@" 2>/dev/null > "$prefix/probe.out"; cat "$prefix/probe.out"; }
for _ in $(seq 1 300); do
    probe windows | grep -q "LumivaneHub" && break
    sleep 0.1
done
shot="$root/artifacts/lumivane-running.png"
if [ -n "$private" ]; then
    # Nobody can click on a private display: open the tray menu for the picture.
    tray=$(probe windows | awk -F'\t' '$8 == "Shell_TrayWnd" && $3 == 1 { print $4 + $6 - 10, $5 + int($7 / 2) }')
    [ -n "$tray" ] && xdotool mousemove --sync $tray click 3 && \
        for _ in $(seq 1 50); do probe windows | grep -q "#32768" && break; sleep 0.1; done
fi
import -window root -crop 800x600+0+0 +repage "$shot"
echo "Lumivane is running in the Wine desktop; screenshot: $shot"
if [ -n "$private" ]; then
    "$WINESERVER" -k
    kill "$private"
    echo "(private display closed; run with DISPLAY set to use the program)"
fi
