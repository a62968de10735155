#!/usr/bin/env bash
# The fuzz campaign: builds the fuzz targets (preset `fuzz`), runs each in turn on one core for
# the seconds given (600 by default) from its checked-in corpus, merges what widened the
# coverage back into fuzz/corpus/ (the seeds, the regression cases and the fewest other inputs
# that reach every edge), and prints one line per target: processor time, executions, coverage
# (libFuzzer's cov and ft), the corpus after the merge, and findings. A finding's input is
# kept in build/fuzz-campaign/crashes/; the target then stops, and the run exits non-zero.
# Mend it, and add the input to the corpus as regression-WHAT and to the unit tests.
#   scripts/fuzz.sh [seconds per target] [target...]
# Targets: picture_header clipboard_dib flood_fill tile_store (all by default).
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

seconds=${1:-600}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(picture_header clipboard_dib flood_fill tile_store)
fi

"$root/scripts/prerequisites.sh" || exit 1
if [ ! -f build/fuzz/build.ninja ]; then
    cmake --preset fuzz >/dev/null || exit 1
fi
cmake --build --preset fuzz || exit 1

campaign=build/fuzz-campaign
# The campaign runs copies, so that a build meanwhile cannot change a target under it.
mkdir -p "$campaign/crashes" "$campaign/bin"
for target in "${targets[@]}"; do
    cp -f "build/fuzz/fuzz/${target}_fuzz" "$campaign/bin/" || exit 2
done
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
table=()
status=0
for target in "${targets[@]}"; do
    binary=$campaign/bin/${target}_fuzz
    corpus=fuzz/corpus/$target
    found="$campaign/found/$target"
    log="$campaign/$target.log"
    rm -rf "$found"
    mkdir -p "$found"
    touch "$campaign/$target.start"
    echo "== $target: ${seconds} s from $corpus"
    TIMEFORMAT='%U %S' # the processor time it had, user and system
    { time "$binary" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$campaign/crashes/$target-" "$found" "$corpus" >"$log" 2>&1; } \
        2>"$campaign/$target.cpu"
    result=$?
    cpu=$(awk '{ printf "%.0f", $1 + $2 }' "$campaign/$target.cpu")
    # What it reached, before the merge: the last status line and the final statistics.
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    coverage=$(grep -E '^#[0-9]+' "$log" | grep -o 'cov: [0-9]*' | tail -n 1 | cut -d' ' -f2)
    features=$(grep -E '^#[0-9]+' "$log" | grep -o 'ft: [0-9]*' | tail -n 1 | cut -d' ' -f2)
    # The corpus anew: the seeds and the regression cases, then the fewest inputs of the old
    # corpus and of this run that reach every edge they reach.
    merged="$campaign/merged/$target"
    rm -rf "$merged"
    mkdir -p "$merged"
    cp "$corpus"/seed-* "$corpus"/regression-* "$merged"/ 2>/dev/null
    # Edges alone, not their hit counts, so that the corpus stays small.
    if "$binary" -merge=1 -use_counters=0 "$merged" "$corpus" "$found" >>"$log" 2>&1; then
        find "$corpus" -type f ! -name 'seed-*' ! -name 'regression-*' -delete
        cp -n "$merged"/* "$corpus"/
    fi
    files=$(find "$corpus" -type f | wc -l)
    bytes=$(cat "$corpus"/* | wc -c)
    findings=$(find "$campaign/crashes" -name "$target-*" -type f -newer "$campaign/$target.start" |
        wc -l)
    if [ $result -ne 0 ]; then
        status=1
        grep -E 'ERROR|failed:|SUMMARY' "$log" | head -n 5
    fi
    table+=("$(printf '| %-14s | %6s | %11s | %5s | %6s | %4s files, %6s bytes | %8s |' \
        "$target" "$cpu" "${executions:-?}" "${coverage:-?}" "${features:-?}" "$files" "$bytes" \
        "$findings")")
done

echo
echo "| target         | CPU s  | executions  | cov   | ft     | corpus after the merge  | findings |"
echo "|----------------|--------|-------------|-------|--------|-------------------------|----------|"
printf '%s\n' "${table[@]}"
echo "(${seconds} s a target; logs in $campaign/)"
exit $status
