# The packages of the Windows builds, made by CPack (scripts/package.sh, or `cpack` in a
# Windows build tree):
#  - an NSIS installer, fudemaru-VERSION-ARCH-setup.exe (template in cmake/packaging);
#  - a portable zip, fudemaru-VERSION-ARCH.zip, that unpacks into a folder of its own.
# Both carry fudemaru.exe, a short user guide (README.txt) and the licence (LICENSE.txt).

set(FUDEMARU_PACKAGE_STAGING ${CMAKE_BINARY_DIR}/package-files)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${FUDEMARU_PACKAGE_STAGING}/LICENSE.txt COPYONLY)
configure_file(${CMAKE_SOURCE_DIR}/docs/user-guide.txt ${FUDEMARU_PACKAGE_STAGING}/README.txt
    @ONLY)

install(TARGETS fudemaru RUNTIME DESTINATION .)
install(FILES ${FUDEMARU_PACKAGE_STAGING}/README.txt ${FUDEMARU_PACKAGE_STAGING}/LICENSE.txt
    DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(FUDEMARU_PACKAGE_ARCH win64)
    set(CPACK_FUDEMARU_NSIS_64BIT 1)
else()
    set(FUDEMARU_PACKAGE_ARCH win32)
    set(CPACK_FUDEMARU_NSIS_64BIT 0)
endif()

set(CPACK_PACKAGE_NAME fudemaru)
set(CPACK_PACKAGE_VENDOR "フデマル developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "フデマル お絵かきソフト")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(FUDEMARU_PACKAGE_FILE_NAME fudemaru-${PROJECT_VERSION}-${FUDEMARU_PACKAGE_ARCH})
set(CPACK_PACKAGE_FILE_NAME ${FUDEMARU_PACKAGE_FILE_NAME})
set(FUDEMARU_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_PACKAGE_DIRECTORY ${FUDEMARU_PACKAGE_DIRECTORY})
set(CPACK_GENERATOR NSIS ZIP)
# The packages carry the program without its debugging information.
set(CPACK_STRIP_FILES ON)
# The installer's licence page wraps lines itself: each paragraph of the licence on one line.
file(READ ${CMAKE_SOURCE_DIR}/LICENSE FUDEMARU_LICENSE_TEXT)
string(REPLACE "\n\n" "\r" FUDEMARU_LICENSE_TEXT "${FUDEMARU_LICENSE_TEXT}")
string(REPLACE "\n" " " FUDEMARU_LICENSE_TEXT "${FUDEMARU_LICENSE_TEXT}")
string(REPLACE "\r" "\n\n" FUDEMARU_LICENSE_TEXT "${FUDEMARU_LICENSE_TEXT}")
file(WRITE ${FUDEMARU_PACKAGE_STAGING}/license-page.txt "${FUDEMARU_LICENSE_TEXT}")
set(CPACK_RESOURCE_FILE_LICENSE ${FUDEMARU_PACKAGE_STAGING}/license-page.txt)

# The installer, from the project's own template: CPack's stock one installs for all users
# only and records more in the registry than the uninstaller entry.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS -INPUTCHARSET UTF8)
set(CPACK_NSIS_PACKAGE_NAME フデマル)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Fudemaru)
set(CPACK_FUDEMARU_NSIS_ICON ${FUDEMARU_RESOURCE_DIR}/fudemaru.ico)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packaging/CPackProjectConfig.cmake)

include(CPack)
