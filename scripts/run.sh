#!/usr/bin/env bash
# Builds フデマル and runs it under Wine.
#  - With a display (DISPLAY set): the program opens on that display; the command returns
#    when it ends, with its exit code.
#  - Without one: a virtual display is started and a short demo runs through the real
#    program (a new sheet, every tool once, a zoom, an undo and a redo, a save as PNG); the
#    saved picture and a screenshot of the program at work are written to the paths it
#    prints, the program is ended with 終了, and the command exits 0 when all of it worked.
#    FUDEMARU_RUN_OUTPUT chooses the folder (default build/run).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/prerequisites.sh" || exit 1
"$root/scripts/build.sh" windows --target fudemaru fudemaru_demo >/dev/null || {
    echo "build failed" >&2
    exit 1
}
exe=$root/build/windows/fudemaru.exe

source "$root/scripts/wine-session.sh"
trap fudemaru_session_end EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ]; then
    fudemaru_session_start --use-display || exit 1
    wine "$exe"
    status=$?
    exit $status
fi

fudemaru_session_start || exit 1
out=$(readlink -m "${FUDEMARU_RUN_OUTPUT:-$root/build/run}")
mkdir -p "$out"
FUDEMARU_EXE=$exe wine "$root/build/windows/tests/e2e/fudemaru_demo.exe" "$out" 2>/dev/null
status=$?
exit $status
