# Sourced by the scripts that run Windows executables. It gives them a private Wine session:
#  - a Japanese locale made with localedef (this machine has none), so Wine runs with code
#    page 932 and Japanese text renders as text;
#  - a Wine prefix template, made once under that locale, with Wine's own fonts copied in,
#    the fonts mapped so the palette reads as designed, frames drawn by Wine (no window
#    manager needed) and no crash dialog; each session copies it, so every run starts from the
#    same fresh prefix and the user's ~/.wine is never used. It runs 64- and 32-bit programs;
#  - a virtual X display (Xvfb, depth 24) on a free display number, unless asked to use the
#    display that is already set;
#  - clean-up of everything it started, also after a failure (fudemaru_session_end).
# shellcheck shell=bash

FUDEMARU_ROOT=${FUDEMARU_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
FUDEMARU_WINE_CACHE=${FUDEMARU_WINE_CACHE:-$FUDEMARU_ROOT/build/wine}

# Where the kernel runs no 32-bit programs, Debian's wine command still starts Wine's 32-bit
# loader whenever wine32 is installed, and fails ("Exec format error"). There the commands go
# straight to the 64-bit loader, which runs every 64-bit Windows program as usual.
fudemaru_use_64_bit_wine() {
    local shims=$FUDEMARU_WINE_CACHE/wine64-only name
    if [ ! -x "$shims/wine-stable" ]; then
        mkdir -p "$shims"
        for name in wine wine-stable; do
            printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' \
                >"$shims/$name"
            chmod +x "$shims/$name"
        done
    fi
    case ":$PATH:" in *":$shims:"*) ;; *) export PATH=$shims:$PATH ;; esac
}

fudemaru_wine_environment() {
    if ! "$FUDEMARU_ROOT/scripts/runs-32-bit.sh"; then
        fudemaru_use_64_bit_wine
    fi
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

# What the template is made of. A template made by another recipe, or before Wine's 32-bit
# half was installed (it could then run no 32-bit program), is made again.
fudemaru_template_recipe() {
    local wine32=no
    [ -x /usr/lib/wine/wine ] && "$FUDEMARU_ROOT/scripts/runs-32-bit.sh" && wine32=yes
    echo "recipe 2 (fonts mapped), wine32 $wine32"
}

# The little-endian hex of a LOGFONTW: height, weight, character set and an ASCII face name.
fudemaru_logfont_hex() {
    local height=$1 weight=$2 charset=$3 face=$4 hex="" value i
    for value in "$height" 0 0 0 "$weight"; do
        value=$((value & 0xFFFFFFFF))
        hex+=$(printf '%02x%02x%02x%02x' $((value & 255)) $((value >> 8 & 255)) \
            $((value >> 16 & 255)) $((value >> 24 & 255)))
    done
    hex+=$(printf '%02x%02x%02x%02x%02x%02x%02x%02x' 0 0 0 "$charset" 0 0 0 0)
    for ((i = 0; i < 32; i++)); do
        if ((i < ${#face})); then
            hex+=$(printf '%02x00' "'${face:i:1}")
        else
            hex+=0000
        fi
    done
    echo "$hex"
}

# The fonts. Japanese Wine maps the dialog templates' "MS Shell Dlg" to "MS UI Gothic", which
# it does not have; the stand-in it finds is wider and taller than on Windows, so the
# palette's labels were cut and the dialogs grew past its painted swatches. Here:
#  - "MS Shell Dlg" is Tahoma, as Windows maps "MS Shell Dlg 2": dialog base units of 6 x 13
#    pixels, so the lower group box frames the swatch grid and the discs exactly;
#  - Tahoma's Japanese glyphs come, as on Japanese Windows, from a linked UI Gothic: Ume UI
#    Gothic (fonts-horai-umefont), whose proportional kana keep every label whole;
#  - "MS UI Gothic" itself is Ume UI Gothic, its look-alike;
#  - captions, menus and message boxes, which Japanese Wine also sets in "MS Shell Dlg", are
#    set in "MS UI Gothic" as on Japanese Windows (a linked font gives no bold glyphs here,
#    so bold captions in Tahoma would show boxes).
fudemaru_map_fonts() {
    local windows_nt='HKLM\Software\Microsoft\Windows NT\CurrentVersion'
    local metrics='HKCU\Control Panel\Desktop\WindowMetrics' name weight
    wine reg add "$windows_nt\FontSubstitutes" /v 'MS Shell Dlg' /d Tahoma /f >/dev/null 2>&1 &&
        wine reg add "$windows_nt\FontSubstitutes" /v 'MS UI Gothic' /d 'Ume UI Gothic' /f \
            >/dev/null 2>&1 &&
        wine reg add "$windows_nt\FontLink\SystemLink" /v Tahoma /t REG_MULTI_SZ \
            /d 'ume-ugo4.ttf,Ume UI Gothic' /f >/dev/null 2>&1 || return 1
    for name in CaptionFont SmCaptionFont MenuFont StatusFont MessageFont IconFont; do
        weight=400
        case $name in *CaptionFont) weight=700 ;; esac
        wine reg add "$metrics" /v "$name" /t REG_BINARY \
            /d "$(fudemaru_logfont_hex -12 "$weight" 128 'MS UI Gothic')" /f >/dev/null 2>&1 ||
            return 1
    done
}

fudemaru_make_template() {
    local template=$FUDEMARU_WINE_CACHE/template
    local recipe
    recipe=$(fudemaru_template_recipe)
    mkdir -p "$FUDEMARU_WINE_CACHE"
    (
        # Two runs at once make the template only once.
        flock 9
        if [ "$(cat "$template/.fudemaru-complete" 2>/dev/null)" = "$recipe" ]; then
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
        fudemaru_map_fonts || {
            echo "Could not map the fonts in the Wine prefix template" >&2
            exit 1
        }
        wineserver -w
        echo "$recipe" >"$template/.fudemaru-complete"
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
    fudemaru_make_template || return 1
    FUDEMARU_WINE_SESSION=$(mktemp -d /tmp/fudemaru-wine.XXXXXX)
    export FUDEMARU_WINE_SESSION
    FUDEMARU_XVFB_PID=
    cp -a "$FUDEMARU_WINE_CACHE/template" "$FUDEMARU_WINE_SESSION/prefix"
    # For tests that need a prefix of their own (scripts/wine-fresh-prefix.sh).
    export FUDEMARU_WINE_TEMPLATE=$FUDEMARU_WINE_CACHE/template
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
