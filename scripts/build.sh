#!/usr/bin/env bash
# Configures (once) and builds one or both builds: native (core + unit tests + benchmarks) and
# windows (fudemaru.exe + Win32 and end-to-end tests). Extra arguments go to cmake --build.
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
all)
    build_preset native "$@"
    build_preset windows "$@"
    ;;
*)
    echo "usage: $0 [native|windows|all] [cmake --build arguments]" >&2
    exit 2
    ;;
esac
