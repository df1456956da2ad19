# What a Windows build of ours loads at run time besides its own files:
# TORVEX_QT_DIR (the Qt prefix: bin/ DLLs, plugins/, LICENSES/) and
# TORVEX_RUNTIME_DLLS (the compiler's C++, GCC, thread and stack protector
# runtime DLLs).
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(TORVEX_QT_BIN_DIR "${qt_core_dll}" DIRECTORY)
get_filename_component(TORVEX_QT_DIR "${TORVEX_QT_BIN_DIR}" DIRECTORY)
set(TORVEX_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll libssp-0.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(path "${path}" REALPATH)
    if(NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler does not know where ${dll} is")
    endif()
    list(APPEND TORVEX_RUNTIME_DLLS "${path}")
endforeach()
