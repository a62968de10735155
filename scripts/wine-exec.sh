#!/bin/sh
# ctest's emulator for the Windows executables. It runs only inside a private Wine session
# made by scripts/with-wine.sh, so no test ever uses the user's own ~/.wine.
if [ -z "${FUDEMARU_WINE_SESSION:-}" ] || [ -z "${WINEPREFIX:-}" ]; then
    echo "wine-exec.sh: run the Windows tests through scripts/with-wine.sh" >&2
    exit 2
fi
exec wine "$@"
