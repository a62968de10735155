#!/bin/sh
# Runs a Windows program in a Wine prefix of its own, a fresh copy of the session's template,
# with its own wineserver, and removes the prefix afterwards: for tests that change the
# prefix, such as installing a program. Like wine-exec.sh it runs only inside a private Wine
# session made by scripts/with-wine.sh (it shares that session's display).
if [ -z "${FUDEMARU_WINE_SESSION:-}" ] || [ ! -d "${FUDEMARU_WINE_TEMPLATE:-}" ]; then
    echo "wine-fresh-prefix.sh: run the Windows tests through scripts/with-wine.sh" >&2
    exit 2
fi
prefix=$(mktemp -d "$FUDEMARU_WINE_SESSION/fresh-prefix.XXXXXX") || exit 2
cp -a "$FUDEMARU_WINE_TEMPLATE/." "$prefix/" || exit 2
export WINEPREFIX="$prefix"
wine "$@"
status=$?
# Wine's background processes of this prefix end with its wineserver.
wineserver -k >/dev/null 2>&1
wineserver -w >/dev/null 2>&1
rm -rf "$prefix"
exit $status
