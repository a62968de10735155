#!/usr/bin/env bash
# Builds the Windows packages of フデマル with CPack, 64- and 32-bit: for each an installer
# (fudemaru-VERSION-win64-setup.exe, fudemaru-VERSION-win32-setup.exe) and a portable zip
# (fudemaru-VERSION-win64.zip, fudemaru-VERSION-win32.zip), in build/packages (or the folder
# given as the first argument). Prints each package with its size.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
out=$(readlink -m "${1:-$root/build/packages}")

"$root/scripts/prerequisites.sh"
mkdir -p "$out"
for preset in windows windows32; do
    "$root/scripts/build.sh" "$preset" --target fudemaru >/dev/null
    (cd "build/$preset" && cpack -B "$out" >/dev/null)
done
rm -rf "$out/_CPack_Packages"
for package in "$out"/fudemaru-*; do
    printf '%10d bytes  %s\n' "$(stat -c %s "$package")" "$package"
done
