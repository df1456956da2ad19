# torvex_delay_load(TARGET DLL...): the target loads these DLLs of Windows on
# their first use instead of at its start, after its entry point has limited
# the DLL search to system32 (app/entry_win.cpp). They are not among the
# DLLs Windows always takes from system32, so loaded at start they would be
# searched first in the program's folder, where a web page may have dropped a
# DLL of that name. A delay-import library is made for each from its import
# library, and put where the linker finds it before the ordinary one.
function(torvex_delay_load target)
    set(folder ${PROJECT_BINARY_DIR}/delayload)
    file(MAKE_DIRECTORY ${folder})
    foreach(dll IN LISTS ARGN)
        find_library(TORVEX_IMPORT_${dll} lib${dll}.a REQUIRED)
        execute_process(COMMAND ${CMAKE_NM} ${TORVEX_IMPORT_${dll}} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
        # Each function of the import library has its thunk as a text symbol.
        string(REGEX MATCHALL "[^\n]* T [^\n]+" functions "${symbols}")
        list(TRANSFORM functions REPLACE ".* T " "")
        list(JOIN functions "\n" functions)
        # Made again only when changed: the program is linked again when it is.
        file(CONFIGURE OUTPUT ${folder}/${dll}.def CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${functions}\n")
        if(NOT EXISTS ${folder}/lib${dll}.a OR ${folder}/${dll}.def IS_NEWER_THAN ${folder}/lib${dll}.a)
            # Made in its folder, so that no path of the build goes into the program.
            execute_process(COMMAND ${CMAKE_DLLTOOL} -d ${dll}.def -y lib${dll}.a
                            WORKING_DIRECTORY ${folder} COMMAND_ERROR_IS_FATAL ANY)
        endif()
        set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${folder}/lib${dll}.a)
    endforeach()
    target_link_directories(${target} BEFORE PRIVATE ${folder})
endfunction()
