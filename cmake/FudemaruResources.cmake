# Compiles the program's resources (menu, dialogs, icon, manifest, version information) into a
# target. Used by
# fudemaru.exe and by the in-process Win32 tests, which load the same dialogs and menu from
# their own module.
set(FUDEMARU_RESOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}/../resources)
get_filename_component(FUDEMARU_RESOURCE_DIR ${FUDEMARU_RESOURCE_DIR} ABSOLUTE)

if(MINGW)
    # windres reads the UTF-8 .rc as code page 65001 (the file also says so itself).
    string(APPEND CMAKE_RC_FLAGS " -c 65001")
endif()

# The version information takes the project version.
set(FUDEMARU_GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
configure_file(${FUDEMARU_RESOURCE_DIR}/version.h.in ${FUDEMARU_GENERATED_DIR}/fudemaru_version.h
    @ONLY)

function(fudemaru_add_resources target)
    set(rc ${FUDEMARU_RESOURCE_DIR}/fudemaru.rc)
    target_sources(${target} PRIVATE ${rc})
    target_include_directories(${target} PRIVATE ${FUDEMARU_GENERATED_DIR})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
        "${FUDEMARU_RESOURCE_DIR}/fudemaru.ico;${FUDEMARU_RESOURCE_DIR}/fudemaru.manifest;${FUDEMARU_RESOURCE_DIR}/resource_ids.h;${FUDEMARU_GENERATED_DIR}/fudemaru_version.h")
endfunction()
