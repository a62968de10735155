# Helpers for tests that run Windows executables. In the cross build ctest runs them through
# Wine (the toolchain's emulator); on Windows they run directly.

if(CMAKE_CROSSCOMPILING)
    # Warm-up and shut-down around every Wine test: without a running wineserver, Wine's
    # background processes and a process that holds the desktop, each test waits 1 to 3 s for
    # them to let go of ctest's pipe. The desktop keeper runs detached from that pipe.
    if(NOT TEST wine.start)
        add_test(NAME wine.start COMMAND sh -c
            "wineserver -p >/dev/null 2>&1; wine wineboot >/dev/null 2>&1 </dev/null; \
setsid wine \"$<TARGET_FILE:fudemaru_desktop_keeper>\" >/dev/null 2>&1 </dev/null &")
        set_tests_properties(wine.start PROPERTIES FIXTURES_SETUP wine LABELS "win32;e2e")
        add_test(NAME wine.stop COMMAND sh -c "wineserver -k; exit 0")
        set_tests_properties(wine.stop PROPERTIES FIXTURES_CLEANUP wine LABELS "win32;e2e")
    endif()
    set(FUDEMARU_WINE_FIXTURE FIXTURES_REQUIRED wine)
else()
    set(FUDEMARU_WINE_FIXTURE)
endif()

# Registers every test case of a GoogleTest executable as its own ctest test, each in a
# fresh process, so every case starts from the program's initial state.
function(fudemaru_discover_tests target prefix label timeout)
    gtest_discover_tests(${target}
        TEST_PREFIX "${prefix}."
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 120
        PROPERTIES LABELS ${label} TIMEOUT ${timeout} ${FUDEMARU_WINE_FIXTURE} ${ARGN})
endfunction()
