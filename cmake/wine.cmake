# Runs the cross-built test programs under Wine: every add_test() whose
# command is a target of ours gets the wrapper in front. The wrapper uses a
# prefix of this build's own, made on first use, with Wine's crash debugger
# off. The programs need no DLL of ours: Qt and the compiler's runtime are
# linked in.
find_program(TORVEX_WINE NAMES wine wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TORVEX_WINE NAMES wine wine64)
find_program(TORVEX_WINESERVER NAMES wineserver PATHS /usr/lib/wine NO_DEFAULT_PATH)
find_program(TORVEX_WINESERVER NAMES wineserver)
if(NOT TORVEX_WINE)
    message(STATUS "Wine not found: the Windows tests cannot run here")
    return()
endif()

# Paths compiled into the tests name the build's files on Wine's drive Z:
# (the Linux root), so that they hold from any current folder.
set(TORVEX_HOST_DRIVE "Z:")

set(TORVEX_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
foreach(script wine-run.sh wine-stop.sh)
    configure_file("${CMAKE_CURRENT_LIST_DIR}/${script}.in" "${CMAKE_BINARY_DIR}/${script}" @ONLY
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
endforeach()
# A test that Wine fails to start (it ends before its first word) runs once
# more; one that says anything stands as it ended.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_BINARY_DIR}/wine-run.sh;--again-if-silent")
