#!/usr/bin/env bash
# Boots a fresh Wine prefix at $1 to serve as the template that every Wine test
# copies. Wine's own fonts (Tahoma, MS Sans Serif, Marlett) are copied in, since
# Wine 8 as Debian packages it does not load them from its install folder.
set -euo pipefail
template=${1:?usage: wine-prefix.sh DIR}
template=$(realpath -m "$template")
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
fonts=/usr/share/wine/fonts
for font in tahoma.ttf marlett.ttf ms_sans_serif.ttf; do
    [ -s "$fonts/$font" ] || { echo "wine-prefix: $fonts/$font is missing: install fonts-wine (scripts/install-deps.sh)" >&2; exit 1; }
done
# Made beside the template and moved into place when complete, so a failed
# boot never leaves a prefix that looks ready.
work="$template.new"
rm -rf "$template" "$work"
mkdir -p "$(dirname "$template")"
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$work"
# Booting needs no display.
unset DISPLAY
"$WINE" wineboot -i >/dev/null 2>&1 || true
"$WINESERVER" -w
[ -f "$work/system.reg" ] || { echo "wine-prefix: wineboot made no prefix in $work" >&2; exit 1; }
mkdir -p "$work/drive_c/windows/Fonts"
cp "$fonts"/* "$work/drive_c/windows/Fonts/"
# No crash dialogs in tests.
"$WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Every program of the prefix runs in one 800x600 virtual desktop named "shell",
# which shows Wine's taskbar and so the notification area.
"$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d shell /f >/dev/null 2>&1
"$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /t REG_SZ /d 800x600 /f >/dev/null 2>&1
"$WINESERVER" -w
mv "$work" "$template"
echo "wine prefix ready: $template ($WINEARCH)"
