#!/usr/bin/env bash
# Runs one Windows test program under Wine in its own copy of the template
# prefix and on its own Xvfb display, then stops both.
set -uo pipefail
template=${1:?usage: wine-run.sh TEMPLATE EXE [ARGS...]}
exe=${2:?usage: wine-run.sh TEMPLATE EXE [ARGS...]}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

work=$(mktemp -d /tmp/lumivane-wine.XXXXXX)
prefix="$work/prefix"
cp -a "$template" "$prefix"
export WINEPREFIX="$prefix"

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$work/displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 200); do
    [ -s "$work/displayfd" ] && break
    sleep 0.05
done
export DISPLAY=":$(head -n1 "$work/displayfd")"

cleanup() {
    "$WINESERVER" -k >/dev/null 2>&1
    kill "$xvfb_pid" >/dev/null 2>&1
    wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Tests reach the files of their own prefix through this variable.
export LUMIVANE_TEST_PREFIX="$prefix"
"$WINE" "$exe" "$@"
