#!/bin/sh
# Runs a Windows test program under Wine with a private prefix beside the
# build tree, so no test touches the user's own Wine set-up or registry.
: "${NERBO_WINEPREFIX:=$(dirname "$0")/../build/win64/wineprefix}"
WINEPREFIX=$(realpath -m "$NERBO_WINEPREFIX")
export WINEPREFIX
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=wine64
exec "$WINE" "$@"
