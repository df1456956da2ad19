# Runs the cross-built test programs under Wine: every add_test() whose
# command is a target of ours gets the wrapper in front. The wrapper uses a
# prefix of this build's own, made on first use, with Wine's crash debugger
# off, and finds Qt's and the compiler's DLLs through WINEPATH.
find_program(TORVEX_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TORVEX_WINE NAMES wine wine64)
find_program(TORVEX_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TORVEX_WINESERVER NAMES wineserver)
if(NOT TORVEX_WINE)
    message(STATUS "Wine not found: the Windows tests cannot run here")
    return()
endif()

# The DLLs the programs load: Qt's, and the compiler's runtime.
include(${CMAKE_CURRENT_LIST_DIR}/windows-runtime.cmake)
set(dll_dirs "${TORVEX_QT_BIN_DIR}")
foreach(dll IN LISTS TORVEX_RUNTIME_DLLS)
    get_filename_component(dir "${dll}" DIRECTORY)
    list(APPEND dll_dirs "${dir}")
endforeach()
list(REMOVE_DUPLICATES dll_dirs)
# As Windows paths: Wine maps the Linux root to drive Z:.
list(TRANSFORM dll_dirs REPLACE "/" "\\\\")
list(TRANSFORM dll_dirs PREPEND "Z:")
list(JOIN dll_dirs ";" TORVEX_WINE_DLL_PATH)

# Paths compiled into the tests name the build's files on Wine's drive Z:
# (the Linux root), so that they hold from any current folder.
set(TORVEX_HOST_DRIVE "Z:")

set(TORVEX_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
foreach(script wine-run.sh wine-stop.sh)
    configure_file("${CMAKE_CURRENT_LIST_DIR}/${script}.in" "${CMAKE_BINARY_DIR}/${script}" @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run.sh")
