#!/usr/bin/env bash
# The fill side by side with the plain reference and OpenCV's cv::floodFill: installs what is
# missing (the build's own packages and OpenCV's imgproc development package, which nothing
# else in the project needs), configures the native build so that it finds OpenCV, builds the
# benchmark and runs it. Arguments go to the benchmark: [rounds [part of a case's name]].
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

"$root/scripts/prerequisites.sh" libopencv-imgproc-dev
# Configure again: a build configured before OpenCV was installed looks for it anew.
cmake --preset native >/dev/null
cmake --build --preset native --target fudemaru_fill_bench
exec build/native/bench/fudemaru_fill_bench "$@"
