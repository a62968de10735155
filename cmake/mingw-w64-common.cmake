# The part of the mingw-w64 cross toolchains that both targets share. The including file sets
# CMAKE_SYSTEM_PROCESSOR and FUDEMARU_MINGW_PREFIX first. The posix-thread flavour is used
# because GoogleTest needs std::mutex, which the win32-thread runtime lacks.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${FUDEMARU_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${FUDEMARU_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${FUDEMARU_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${FUDEMARU_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# ctest runs the Windows executables through Wine. The wrapper refuses to run outside a
# private Wine session (scripts/with-wine.sh), so tests never touch the user's ~/.wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-exec.sh)
