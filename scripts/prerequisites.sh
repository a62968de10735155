#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and only those that
# are missing: a second run does nothing and takes a moment. Arguments name more packages.
set -euo pipefail

packages=(
    # host build of the platform-free core, its unit tests and benchmarks
    g++ cmake ninja-build googletest libbenchmark-dev
    # the core under the sanitizers and its fuzz targets: clang, its sanitizer and libFuzzer
    # runtimes, and the symbolizer that names the lines of a report
    clang libclang-rt-14-dev llvm
    # the fuzz targets' seed pictures (scripts/fuzz-seeds.sh)
    python3
    # the Windows program, cross-compiled
    g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
    # the 32-bit build and the installer compiler (Wine's 32-bit half: below)
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686 nsis
    # running it: Wine with its own fonts, a virtual display, screenshots and real X input
    wine wine64 fonts-wine xvfb xauth x11-utils xdotool imagemagick
    # Japanese text: the locale sources for localedef, and Japanese fonts
    locales fonts-ipafont-gothic fonts-vlgothic
    # Ume UI Gothic, the Japanese half of the dialog font (scripts/wine-session.sh)
    fonts-horai-umefont
)
# Wine's 32-bit half runs the 32-bit build and the installers, but only where the kernel runs
# 32-bit programs at all; elsewhere the 64-bit Wine alone runs the rest (scripts/test.sh).
if "$(dirname "${BASH_SOURCE[0]}")/runs-32-bit.sh"; then
    packages+=(wine32:i386)
fi
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
# wine32 is an i386 package.
if [[ " ${missing[*]} " == *" wine32:i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo[@]}" dpkg --add-architecture i386
fi
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
