#!/usr/bin/env bash
# Configures (once) and builds one or all builds: native (core + unit tests + benchmarks),
# windows (fudemaru.exe + Win32 and end-to-end tests) and windows32 (the same, 32-bit). Extra
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
    cmake --build --preset "$preset" "$@"
}

case "$which" in
native) build_preset native "$@" ;;
windows) build_preset windows "$@" ;;
windows32) build_preset windows32 "$@" ;;
all)
    build_preset native "$@"
    build_preset windows "$@"
    build_preset windows32 "$@"
    ;;
*)
    echo "usage: $0 [native|windows|windows32|all] [cmake --build arguments]" >&2
    exit 2
    ;;
esac
