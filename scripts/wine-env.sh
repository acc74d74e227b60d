# Sourced by the Wine scripts: picks Wine's loader and server for the
# architecture of the build under test (LUMIVANE_WINE_ARCH: win32 or win64).
# The loaders are named directly: /usr/bin/wine would pick the 32-bit loader
# whenever it is installed, even where the kernel cannot run it.
case "${LUMIVANE_WINE_ARCH:-win32}" in
    win64)
        WINE=/usr/lib/wine/wine64
        WINESERVER=/usr/lib/wine/wineserver64
        ;;
    *)
        WINE=/usr/lib/wine/wine
        WINESERVER=/usr/lib/wine/wineserver32
        ;;
esac
[ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver
export WINEARCH="${LUMIVANE_WINE_ARCH:-win32}" WINELOADER="$WINE" WINESERVER WINEDEBUG=-all
