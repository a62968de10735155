# Cross toolchain: 32-bit Windows executables with Debian's mingw-w64. Wine runs them through
# its 32-bit half (wine32).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(FUDEMARU_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
