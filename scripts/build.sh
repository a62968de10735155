#!/usr/bin/env bash
# Configures (once) and builds one or all builds: native (core + unit tests + benchmarks),
# native-sanitize (core + unit tests under the sanitizers), fuzz (the fuzz targets), windows
# (fudemaru.exe + Win32 and end-to-end tests) and windows32 (the same, 32-bit). Extra
# arguments go to cmake --build.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

which=${1:-all}
shift || true

build_preset() {
    local preset=$1
    shift
    if [ ! -f "build/$preset/build.ninja" ]; then
        cmake --preset "$preset" >/dev/null
    fi
    local start=$SECONDS
    cmake --build --preset "$preset" "$@"
    echo "   (building $preset took $((SECONDS - start)) s)"
}

case "$which" in
native) build_preset native "$@" ;;
native-sanitize) build_preset native-sanitize "$@" ;;
fuzz) build_preset fuzz "$@" ;;
windows) build_preset windows "$@" ;;
windows32) build_preset windows32 "$@" ;;
all)
    build_preset native "$@"
    build_preset native-sanitize "$@"
    build_preset fuzz "$@"
    build_preset windows "$@"
    build_preset windows32 "$@"
    ;;
*)
    echo "usage: $0 [native|native-sanitize|fuzz|windows|windows32|all] [cmake --build arguments]" >&2
    exit 2
    ;;
esac
