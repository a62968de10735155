#!/usr/bin/env bash
# Installs what is missing, builds every build and runs every test level with ctest:
#   unit  - the platform-free core, natively, once more under the address and undefined-
#           behaviour sanitizers, and once more under Wine,
#   fuzz  - each fuzz target for a bounded time from its checked-in corpus, under the same
#           sanitizers,
#   win32 - the real windows created in-process under Wine,
#   e2e   - the real fudemaru.exe driven from outside under Wine, and its installer;
# the unit and win32 levels and the installer once more on the 32-bit build, under Wine's
# 32-bit half.
# The Wine tests run in a private Wine session on their own virtual display.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

# Each stage says how long it took, so the time of a whole run can be read from its log.
stage_start=$SECONDS
stage_took() {
    echo "   ($1 took $((SECONDS - stage_start)) s)"
    stage_start=$SECONDS
}

"$root/scripts/prerequisites.sh" || exit 1
stage_took "installing what was missing"
# Where the kernel runs no 32-bit programs, no 32-bit Windows program runs either: there the
# 32-bit program is still built (any warning fails it), but neither its tests nor the
# installers (NSIS installers are 32-bit programs) can run, so the 32-bit tests are not built
# and both are said to be skipped.
runs32=1
"$root/scripts/runs-32-bit.sh" || runs32=0

build() {
    "$root/scripts/build.sh" "$@" || {
        echo "build failed" >&2
        exit 1
    }
}
build native
build native-sanitize
build fuzz
build windows
if [ $runs32 -eq 1 ]; then
    build windows32
else
    build windows32 --target fudemaru
fi
stage_took "building"

status=0
echo "== Native build: ctest --preset native"
ctest --preset native || status=1
stage_took "native tests"
echo "== Native build under the sanitizers: ctest --preset native-sanitize"
ctest --preset native-sanitize || status=1
stage_took "sanitizer tests"
echo "== Fuzz targets from their corpora: ctest --preset fuzz"
ctest --preset fuzz || status=1
stage_took "fuzzing"
if [ $runs32 -eq 1 ]; then
    echo "== Windows build under Wine: ctest --preset windows"
    "$root/scripts/with-wine.sh" ctest --preset windows || status=1
    stage_took "Windows tests"
    echo "== 32-bit Windows build under Wine: ctest --preset windows32"
    "$root/scripts/with-wine.sh" ctest --preset windows32 || status=1
    stage_took "32-bit Windows tests"
else
    echo "== Windows build under Wine: ctest --preset windows -E package.install"
    echo "   (SKIPPED: this machine cannot run 32-bit programs, so neither the installers nor"
    echo "   the 32-bit build's tests can run; the 32-bit program was built)"
    "$root/scripts/with-wine.sh" ctest --preset windows -E 'package\.install' || status=1
    stage_took "Windows tests"
fi

if [ $status -eq 0 ]; then
    echo "== All tests passed"
else
    echo "== Some tests FAILED"
fi
exit $status
