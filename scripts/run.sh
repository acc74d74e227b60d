#!/usr/bin/env bash
# Builds Lumivane and starts it in a Wine desktop (with its taskbar and tray) on
# $DISPLAY, and leaves it running there. Without a display it uses a private
# Xvfb, opens the tray menu, saves a screenshot of it and closes everything; it
# fails when the menu does not open.
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
[ -s "$prefix/drive_c/windows/Fonts/marlett.ttf" ] || "$root/scripts/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix"
mkdir -p "$prefix/drive_c/Lumivane" "$root/artifacts"
cp "$root/build/$tree/src/lumivane.exe" "$prefix/drive_c/Lumivane/"

fail() {
    echo "run.sh: $*" >&2
    exit 1
}

private=
if [ -z "${DISPLAY:-}" ]; then
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$fdfile" >/dev/null 2>&1 &
    private=$!
    # Whatever happens next, the private display and this prefix's Wine end with the script.
    trap '"$WINESERVER" -k >/dev/null 2>&1 || true; kill "$private" 2>/dev/null || true' EXIT
    for _ in $(seq 1 200); do [ -s "$fdfile" ] && break; sleep 0.05; done
    [ -s "$fdfile" ] || fail "Xvfb did not start"
    export DISPLAY=":$(head -n1 "$fdfile")"
    rm -f "$fdfile"
fi

"$WINE" explorer /desktop=shell,800x600 'C:\Lumivane\lumivane.exe' >/dev/null 2>&1 &

# The probe looks from inside the prefix. "windows" lists the desktop's
# top-level windows, one a line: handle, pid, visible, x, y, width, height,
# class, title; "processes" lists pid and program name. Its output goes through
# a file: a Wine process started on the way would hold a pipe open. Lines end in CR LF.
probe() {
    "$WINE" "$root/build/$tree/tests/e2e/probe.exe" "$1" > "$prefix/probe.out" 2>/dev/null || true
    tr -d '\r' < "$prefix/probe.out"
}
windows() { probe windows; }
# Repeats command "$@" every tenth of a second until it succeeds, for up to $1 seconds.
within() {
    local deadline=$((SECONDS + $1)); shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}
started() { pid=$(probe processes | awk -F'\t' 'tolower($2) == "lumivane.exe" { print $1; exit }'); [ -n "$pid" ]; }
within 30 started || fail "lumivane.exe did not start within 30 s"

shot="$root/artifacts/lumivane-running.png"
if [ -n "$private" ]; then
    # Nobody can click on a private display: open the tray menu for the picture.
    # The icon takes the taskbar's last 20-pixel slot. A click that comes before
    # the icon is there opens nothing, so the click is repeated until the
    # program's menu window shows.
    tray() { windows | awk -F'\t' '$8 == "Shell_TrayWnd" && $3 == 1 { print $4 + $6 - 12, $5 + int($7 / 2); exit }'; }
    tray_shown() { point=$(tray); [ -n "$point" ]; }
    menu_shown() { windows | awk -F'\t' -v pid="$pid" '$8 == "#32768" && $3 == 1 && $2 == pid { found = 1 } END { exit !found }'; }
    within 30 tray_shown || fail "the Wine taskbar did not show within 30 s"
    opened=
    for attempt in 1 2 3 4 5 6 7 8 9 10; do
        read -r x y <<<"$point"
        # Another pixel of the icon each time, so that the pointer really moves.
        xdotool mousemove $((x + attempt % 5)) "$y" click 3
        if within 3 menu_shown; then opened=1; break; fi
    done
    if [ -n "$opened" ]; then
        # The icon's tip would cover the menu's corner: the pointer leaves the icon.
        tip_shown() { windows | awk -F'\t' '$8 == "tooltips_class32" && $3 == 1 { found = 1 } END { exit !found }'; }
        xdotool mousemove 400 300
        within 5 eval '! tip_shown' || true
    fi
    import -window root -crop 800x600+0+0 +repage "$shot"
    [ -n "$opened" ] || fail "the tray menu did not open after 10 right-clicks on the icon; the desktop without it: $shot"
    echo "Lumivane ran in a Wine desktop on a private display; screenshot of its open tray menu: $shot"
    echo "(private display closed; run with DISPLAY set to use the program)"
    exit 0
fi
import -window root -crop 800x600+0+0 +repage "$shot"
echo "Lumivane is running in the Wine desktop on $DISPLAY (right-click its tray icon); screenshot: $shot"
