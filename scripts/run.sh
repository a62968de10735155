#!/usr/bin/env bash
# Builds フデマル and runs it under Wine.
#  - With a display (DISPLAY set): the program opens on that display; the command returns
#    when it ends, with its exit code.
#  - Without one: a virtual display is started, the program is started on it, a screenshot
#    is written, the program is closed through File > 終了(&X), and its exit code printed.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/prerequisites.sh" || exit 1
"$root/scripts/build.sh" windows --target fudemaru >/dev/null || {
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
    exit $?
fi

fudemaru_session_start || exit 1
out=${FUDEMARU_RUN_OUTPUT:-$root/build/run}
mkdir -p "$out"
screenshot=$out/fudemaru-screenshot.png

wine "$exe" &
program=$!

# Wait for the frame and the palette.
frame=
for _ in $(seq 1 100); do
    frame=$(xdotool search --name '^フデマル$' 2>/dev/null | head -n 1)
    palette=$(xdotool search --name '^パレット$' 2>/dev/null | head -n 1)
    [ -n "$frame" ] && [ -n "$palette" ] && break
    sleep 0.1
done
if [ -z "$frame" ]; then
    echo "the program's window did not appear" >&2
    kill "$program" 2>/dev/null
    exit 1
fi
sleep 1
import -window root "$screenshot"
echo "screenshot: $screenshot"

# File > 終了(&X), from the keyboard, after a click into the frame's empty MDI area.
eval "$(xdotool getwindowgeometry --shell "$frame")"
xdotool mousemove $((X + 40)) $((Y + 80)) click 1
sleep 0.3
xdotool key alt+f
sleep 0.3
xdotool key x

code=
for _ in $(seq 1 100); do
    if ! kill -0 "$program" 2>/dev/null; then
        wait "$program"
        code=$?
        break
    fi
    sleep 0.1
done
if [ -z "$code" ]; then
    echo "the program did not end after File > 終了(&X)" >&2
    kill "$program" 2>/dev/null
    exit 1
fi
echo "exit code: $code"
exit "$code"
