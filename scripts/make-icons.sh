#!/usr/bin/env bash
# Makes the menu pictures and the program icon in res/icons/ from the Tango
# icon set (public domain; Debian package tango-icon-theme). The .ico files are
# checked in, so building never needs this script: run it only to redraw them.
# Needs: tango-icon-theme, imagemagick, fonts-dejavu-core.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tango=${TANGO_DIR:-/usr/share/icons/Tango}
out="$root/res/icons"
mkdir -p "$out"

for f in "$tango/16x16/places/folder.png" /usr/share/doc/tango-icon-theme/copyright; do
    [ -e "$f" ] || { echo "missing $f: install tango-icon-theme" >&2; exit 1; }
done

# 16 by 16 pictures taken as they are: file name (the image's key) and source.
plain=(
    "about    status/dialog-information.png"
    "yes      apps/preferences-system-session.png"
    "run      apps/preferences-desktop-screensaver.png"
    "exit     actions/system-log-out.png"
    "no       actions/process-stop.png"
    "turn     devices/video-display.png"
    "close    devices/media-optical.png"
    "options  categories/preferences-system.png"
    "open     actions/media-eject.png"
)
for entry in "${plain[@]}"; do
    read -r name source <<<"$entry"
    convert "$tango/16x16/$source" -background none -strip "$out/$name.ico"
done

# The folder pictures carry their number, which is what the menu's folder
# captions begin with. Two digits need the condensed face to fit the folder.
for n in $(seq 1 10); do
    font=DejaVu-Sans-Bold
    [ "$n" -ge 10 ] && font=DejaVu-Sans-Condensed-Bold
    convert "$tango/16x16/places/folder.png" -font "$font" -pointsize 9 -fill '#0b2a57' \
        -gravity center -annotate +1+2 "$n" -strip "$out/f$n.ico"
done

# The program icon: the same picture as the tray icon, at 16 and 32 pixels.
convert "$tango/16x16/devices/video-display.png" "$tango/32x32/devices/video-display.png" \
    -background none -strip "$out/lumivane.ico"

cp /usr/share/doc/tango-icon-theme/copyright "$out/COPYING.Tango"
echo "icons written to $out"
