#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that
# are missing: a second run does nothing and takes a moment. Arguments name more packages.
set -euo pipefail

packages=(
    # host build of the platform-free core, its unit tests and benchmarks
    g++ cmake ninja-build googletest libbenchmark-dev
    # the Windows program, cross-compiled
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    # running it: Wine with its own fonts, a virtual display, screenshots and real X input
    wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick
    # Japanese text: the locale sources for localedef, and Japanese fonts
    locales fonts-ipafont-gothic fonts-vlgothic
)
packages+=("$@") # and whatever a caller names (scripts/bench-fill.sh: OpenCV)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
