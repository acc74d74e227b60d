#!/usr/bin/env bash
# Makes the menu pictures and the program icon in res/icons/ from the Tango
# icon set (public domain; Debian package tango-icon-theme). The .ico files are
# checked in, so building never needs this script: run it only to redraw them.
#
# Every menu picture holds 16, 20, 24 and 32 pixel images, the program icon
# also 48 and 256, so that the menu and the shell find an image drawn for the
# display scale in force (100 %, 125 %, 150 %, 200 %) and never stretch one.
# Each image comes from the set's own drawing of that size, or of the nearest
# larger one, or from its scalable drawing; none is a small image blown up.
#
# The 16 pixel images are stored as bitmaps, exactly as they always were, so
# the menu at 100 % keeps its look to the pixel; the larger ones are stored as
# PNG (read by Windows Vista and later), which keeps the program small.
#
# Needs: tango-icon-theme, imagemagick, librsvg2-bin, fonts-dejavu-core, zopfli, python3.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tango=${TANGO_DIR:-/usr/share/icons/Tango}
out="$root/res/icons"
mkdir -p "$out"

for f in "$tango/16x16/places/folder.png" "$tango/scalable/places/folder.svg" /usr/share/doc/tango-icon-theme/copyright; do
    [ -e "$f" ] || { echo "missing $f: install tango-icon-theme" >&2; exit 1; }
done
for tool in convert rsvg-convert zopflipng python3; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

menu_sizes=(16 20 24 32)
program_sizes=(16 20 24 32 48 256)

# The image of one Tango picture (e.g. "places/folder.png") at one size, as a PNG.
render() { # source size destination
    local source=$1 size=$2 dest=$3
    case $size in
    16 | 24 | 32)
        convert "$tango/${size}x$size/$source" -strip "PNG32:$dest" ;;
    20)
        # The set has no 20 pixel drawing. Its 22 pixel one, drawn by hand for
        # small sizes, keeps its dark outlines when taken down two pixels; the
        # scalable drawing rendered at 20 washes them out (the eject arrow
        # almost disappears).
        convert "$tango/22x22/$source" -filter Catrom -resize 20x20 -strip "PNG32:$dest" ;;
    *)
        rsvg-convert -w "$size" -h "$size" "$tango/scalable/${source%.png}.svg" -o "$work/svg.png"
        convert "$work/svg.png" -strip "PNG32:$dest" ;;
    esac
}

# Writes an .ico from a one-image .ico holding the 16 pixel bitmap and PNG
# files of the larger sizes, in that order.
pack() { # destination sixteen.ico larger.png...
    python3 - "$@" <<'PY'
import struct, sys
dest, sixteen, *pngs = sys.argv[1:]
with open(sixteen, "rb") as f:
    ico = f.read()
reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
assert kind == 1 and count == 1, sixteen
entry = ico[6:22]
size, offset = struct.unpack_from("<II", entry, 8)
images = [(entry[:8], ico[offset:offset + size])]
for path in pngs:
    with open(path, "rb") as f:
        data = f.read()
    width, height = struct.unpack(">II", data[16:24])  # the PNG's IHDR
    # Width and height 0 stand for 256; 32 bits per pixel with alpha.
    images.append((struct.pack("<BBBBHH", width % 256, height % 256, 0, 0, 1, 32), data))
header = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
directory, body = b"", b""
for head, data in images:
    directory += head + struct.pack("<II", len(data), offset + len(body))
    body += data
with open(dest, "wb") as f:
    f.write(header + directory + body)
PY
}

# Rewrites a PNG in the smallest encoding zopflipng finds (it tries the row
# filters and deflates far harder than zlib), losslessly: every byte of them
# is in the program. The image's pixels stay as they are.
squeeze() { # image
    local image=$1
    zopflipng -m -y "$image" "$work/squeezed.png" >/dev/null
    [ "$(stat -c %s "$work/squeezed.png")" -lt "$(stat -c %s "$image")" ] && cp "$work/squeezed.png" "$image"
    rm -f "$work/squeezed.png"
}

# One picture at the given sizes; "decorate" (optional) is a function that
# draws on each image, given the image file and its size.
make_icon() { # name source decorate sizes...
    local name=$1 source=$2 decorate=$3
    shift 3
    local larger=()
    for size in "$@"; do
        render "$source" "$size" "$work/$name-$size.png"
        [ -n "$decorate" ] && "$decorate" "$work/$name-$size.png" "$size"
        if [ "$size" -eq 16 ]; then
            convert "$work/$name-16.png" -background none -strip "$work/$name-16.ico"
        else
            squeeze "$work/$name-$size.png"
            larger+=("$work/$name-$size.png")
        fi
    done
    pack "$out/$name.ico" "$work/$name-16.ico" "${larger[@]}"
}

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
    make_icon "$name" "$source" "" "${menu_sizes[@]}"
done

# The folder pictures carry their number, which is what the menu's folder
# captions begin with. Two digits need the condensed face to fit the folder.
# Per size: the type's point size and its offset from the centre, so that the
# number sits on the folder's front at every size.
number=0
draw_number() { # image size
    local image=$1 size=$2 points dx dy font=DejaVu-Sans-Bold
    case $size in
    16) points=9 dx=1 dy=2 ;;
    20) points=11 dx=1 dy=2 ;;
    24) points=12 dx=1 dy=3 ;;
    32) points=16 dx=1 dy=4 ;;
    esac
    [ "$number" -ge 10 ] && font=DejaVu-Sans-Condensed-Bold
    convert "$image" -font "$font" -pointsize "$points" -fill '#0b2a57' -gravity center \
        -annotate "+$dx+$dy" "$number" -strip "PNG32:$image"
}
for number in $(seq 1 10); do
    make_icon "f$number" places/folder.png draw_number "${menu_sizes[@]}"
done

# The program icon: the same picture as the tray icon.
make_icon lumivane devices/video-display.png "" "${program_sizes[@]}"

cp /usr/share/doc/tango-icon-theme/copyright "$out/COPYING.Tango"
echo "icons written to $out"
