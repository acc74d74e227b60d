#!/usr/bin/env bash
# Boots a fresh Wine prefix at $1 to serve as the template that every Wine test
# copies. Wine's own fonts (Tahoma, MS Sans Serif, Marlett) are copied in, since
# this Wine does not load them from its install folder.
set -euo pipefail
template=${1:?usage: wine-prefix.sh DIR}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
rm -rf "$template"
mkdir -p "$(dirname "$template")"
export WINEPREFIX="$template"
# Booting needs no display.
unset DISPLAY
"$WINE" wineboot -i >/dev/null 2>&1 || true
"$WINESERVER" -w
test -f "$template/system.reg"
mkdir -p "$template/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"
# No crash dialogs in tests.
"$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Every program of the prefix runs in one 800x600 virtual desktop named "shell",
# which shows Wine's taskbar and so the notification area.
"$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d 800x600 /f >/dev/null 2>&1
"$WINESERVER" -w
echo "wine prefix ready: $template ($WINEARCH)"
