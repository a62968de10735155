#!/usr/bin/env bash
# Builds the canvas benchmark and runs it in a private Wine session: the real canvas window,
# driven with mouse messages and the wheel, on a 680 × 480 sheet and on 4000 × 3000 and 8000 × 6000 pictures.
# Each size runs twice in a fresh process (timings; then 1000 short strokes for the history's
# memory), with its address space capped, and the table with the ratios to the sheet is printed.
# Times are the best of several tries (the raw files also hold the medians): on a shared
# machine the best is what the program itself costs.
#   FUDEMARU_BENCH_SIZES       sizes to run (default "680x480 4000x3000 8000x6000")
#   FUDEMARU_BENCH_ADDRESS_GIB address space of each run in GiB (default 6)
#   FUDEMARU_BENCH_OUTPUT      folder of the raw results (default build/bench-canvas)
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/prerequisites.sh" || exit 1
"$root/scripts/build.sh" windows --target fudemaru_canvas_bench >/dev/null || {
    echo "build failed" >&2
    exit 1
}
export BENCH_EXE=$root/build/windows/bench/canvas/fudemaru_canvas_bench.exe
export BENCH_SIZES=${FUDEMARU_BENCH_SIZES:-680x480 4000x3000 8000x6000}
export BENCH_ADDRESS_KIB=$((${FUDEMARU_BENCH_ADDRESS_GIB:-6} * 1024 * 1024))
export BENCH_OUT=$(readlink -m "${FUDEMARU_BENCH_OUTPUT:-$root/build/bench-canvas}")
mkdir -p "$BENCH_OUT"

"$root/scripts/with-wine.sh" bash -c '
    for size in $BENCH_SIZES; do
        for mode in timing history; do
            echo "running $mode at $size..." >&2
            (ulimit -v "$BENCH_ADDRESS_KIB"
             wine "$BENCH_EXE" "$mode" "${size%x*}" "${size#*x}") \
                >"$BENCH_OUT/$mode-$size.txt" 2>/dev/null || echo "$mode at $size failed" >&2
        done
    done' || exit 1

# name size value, one line per measurement.
for size in $BENCH_SIZES; do
    cat "$BENCH_OUT"/timing-"$size".txt "$BENCH_OUT"/history-"$size".txt 2>/dev/null |
        awk -v size="$size" 'NF == 2 { print $1, size, $2 }'
done | awk -v sizes="$BENCH_SIZES" '
    { value[$1 "@" $2] = $3 }
    function cell(name, size, scale, format) {
        if (!((name "@" size) in value)) return "-"
        return sprintf(format, value[name "@" size] / scale)
    }
    function row(label, name, scale, format, ratio,    line, i, base) {
        line = "| " label
        for (i = 1; i <= n; ++i) line = line " | " cell(name, size[i], scale, format)
        base = value[name "@" size[1]]
        for (i = 2; i <= n; ++i) {
            if (ratio && base > 0 && ((name "@" size[i]) in value))
                line = line " | " sprintf("%.1f ×", value[name "@" size[i]] / base)
            else
                line = line " | "
        }
        print line " |"
    }
    function mib_row(label, name) { row(label, name, 1048576, "%.1f MiB", 0) }
    function kib_row(label, name) { row(label, name, 1024, "%.0f MiB", 0) }
    END {
        n = split(sizes, size, " ")
        header = "| |"; rule = "|---|"
        for (i = 1; i <= n; ++i) { header = header " " size[i] " |"; rule = rule "---:|" }
        for (i = 2; i <= n; ++i) { header = header " " size[i] " / " size[1] " |"; rule = rule "---:|" }
        print header; print rule
        row("zoom level of the fitted view", "zoom", 1, "%d", 0)
        row("20-move pen stroke, press to last repaint", "pen_stroke_ms", 1, "%.2f ms", 1)
        row("20-move rectangle drag", "rectangle_drag_ms", 1, "%.2f ms", 1)
        row("undo (戻す) and its repaint", "undo_ms", 1, "%.2f ms", 1)
        row("redo (進む) and its repaint", "redo_ms", 1, "%.2f ms", 1)
        row("fill of the whole sheet, press to repaint", "fill_ms", 1, "%.2f ms", 1)
        row("short pen stroke (3 moves)", "short_stroke_ms", 1, "%.2f ms", 1)
        row("zoom level after 30 notches in", "deepest_zoom", 1, "%d", 0)
        row("zoom notch toward the pointer, slowest level", "zoom_notch_ms", 1, "%.2f ms", 1)
        row("scroll step (line, page, end), slowest", "scroll_step_ms", 1, "%.2f ms", 1)
        row("middle-button pan, one move, slowest", "pan_move_ms", 1, "%.2f ms", 1)
        mib_row("history after 1 short stroke", "history_bytes_1")
        mib_row("history after 100 short strokes", "history_bytes_100")
        mib_row("history after 1000 short strokes", "history_bytes_1000")
        kib_row("process memory with the sheet open", "rss_kib_open")
        kib_row("process memory after 1000 strokes", "rss_kib_1000")
        kib_row("peak process memory", "hwm_kib")
        row("steps 戻す reaches back after 1000 strokes", "undo_reach", 1, "%d", 0)
        row("GDI objects before 1000 strokes", "gdi_objects_before", 1, "%d", 0)
        row("GDI objects after 1000 strokes", "gdi_objects_after", 1, "%d", 0)
    }'
echo
echo "Times are the best of 9 tries (the fill: of 5); the view's rows are the slowest notch, step"
echo "or move, each the best of 3 rounds; the medians are in $BENCH_OUT."
