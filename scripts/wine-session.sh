# Sourced by the scripts that run Windows executables. It gives them a private Wine session:
#  - a Japanese locale made with localedef (this machine has none), so Wine runs with code
#    page 932 and Japanese text renders as text;
#  - a Wine prefix template, made once under that locale, with Wine's own fonts copied in,
#    frames drawn by Wine (no window manager needed) and no crash dialog; each session copies
#    it, so every run starts from the same fresh prefix and the user's ~/.wine is never used;
#  - a virtual X display (Xvfb, depth 24) on a free display number, unless asked to use the
#    display that is already set;
#  - clean-up of everything it started, also after a failure (fudemaru_session_end).
# shellcheck shell=bash

FUDEMARU_ROOT=${FUDEMARU_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
FUDEMARU_WINE_CACHE=${FUDEMARU_WINE_CACHE:-$FUDEMARU_ROOT/build/wine}

fudemaru_wine_environment() {
    export LOCPATH=$FUDEMARU_WINE_CACHE/locale
    export LANG=ja_JP.UTF-8
    unset LC_ALL LANGUAGE
    export WINEDEBUG=-all
    # No Mono or Gecko installers: the program needs neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
}

fudemaru_make_locale() {
    if [ ! -f "$FUDEMARU_WINE_CACHE/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$FUDEMARU_WINE_CACHE/locale"
        localedef -i ja_JP -f UTF-8 "$FUDEMARU_WINE_CACHE/locale/ja_JP.UTF-8"
    fi
}

fudemaru_make_template() {
    local template=$FUDEMARU_WINE_CACHE/template
    mkdir -p "$FUDEMARU_WINE_CACHE"
    (
        # Two runs at once make the template only once.
        flock 9
        if [ -f "$template/.fudemaru-complete" ]; then
            exit 0
        fi
        fudemaru_make_locale
        echo "Making the Wine prefix template (once, 10-20 s)..." >&2
        rm -rf "$template"
        fudemaru_wine_environment
        export WINEPREFIX=$template
        unset DISPLAY
        wineboot -i >/dev/null 2>&1 </dev/null
        wineserver -w
        mkdir -p "$template/drive_c/windows/Fonts"
        cp /usr/share/wine/fonts/*.ttf "$template/drive_c/windows/Fonts/"
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
            >/dev/null 2>&1
        wineserver -w
        touch "$template/.fudemaru-complete"
    ) 9>"$FUDEMARU_WINE_CACHE/template.lock"
}

# Starts Xvfb on a free display and exports DISPLAY.
fudemaru_start_xvfb() {
    local number_file=$FUDEMARU_WINE_SESSION/display
    : >"$number_file"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" \
        >"$FUDEMARU_WINE_SESSION/xvfb.log" 2>&1 &
    FUDEMARU_XVFB_PID=$!
    local tries=0
    while [ ! -s "$number_file" ]; do
        tries=$((tries + 1))
        if [ $tries -gt 100 ] || ! kill -0 "$FUDEMARU_XVFB_PID" 2>/dev/null; then
            echo "Xvfb did not start:" >&2
            cat "$FUDEMARU_WINE_SESSION/xvfb.log" >&2
            return 1
        fi
        sleep 0.1
    done
    export DISPLAY=:$(tr -d '[:space:]' <"$number_file")
}

# fudemaru_session_start [--use-display]
# Without --use-display the session always gets its own virtual display, so tests never draw
# on, or send input to, a real desktop.
fudemaru_session_start() {
    local use_display=0
    [ "${1:-}" = "--use-display" ] && use_display=1
    fudemaru_make_template
    FUDEMARU_WINE_SESSION=$(mktemp -d /tmp/fudemaru-wine.XXXXXX)
    export FUDEMARU_WINE_SESSION
    FUDEMARU_XVFB_PID=
    cp -a "$FUDEMARU_WINE_CACHE/template" "$FUDEMARU_WINE_SESSION/prefix"
    fudemaru_wine_environment
    export WINEPREFIX=$FUDEMARU_WINE_SESSION/prefix
    if [ $use_display -eq 0 ] || [ -z "${DISPLAY:-}" ]; then
        fudemaru_start_xvfb
    fi
    # Warm up: a persistent wineserver and Wine's background processes, started with their
    # output away from any pipe a caller may be reading.
    wineserver -p
    wine wineboot >/dev/null 2>&1 </dev/null
}

fudemaru_session_end() {
    if [ -n "${FUDEMARU_WINE_SESSION:-}" ] && [ -d "$FUDEMARU_WINE_SESSION" ]; then
        WINEPREFIX=$FUDEMARU_WINE_SESSION/prefix wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$FUDEMARU_WINE_SESSION/prefix wineserver -w >/dev/null 2>&1 || true
        if [ -n "${FUDEMARU_XVFB_PID:-}" ]; then
            kill "$FUDEMARU_XVFB_PID" 2>/dev/null || true
            wait "$FUDEMARU_XVFB_PID" 2>/dev/null || true
        fi
        rm -rf "$FUDEMARU_WINE_SESSION"
    fi
    FUDEMARU_WINE_SESSION=
}

# Turns a Unix path into the Z: path that Wine programs see.
fudemaru_windows_path() {
    local path
    path=$(readlink -m "$1")
    printf 'Z:%s' "${path//\//\\}"
}
