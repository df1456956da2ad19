# The program's one version is project(VERSION). Users see it as major.minor
# with two digits for the minor number ("1.00"); Windows' version resource
# wants four numbers.
if(PROJECT_VERSION_MINOR GREATER 99)
    message(FATAL_ERROR "The minor version ${PROJECT_VERSION_MINOR} does not fit the two digits users see")
endif()
if(PROJECT_VERSION_MINOR LESS 10)
    set(TORVEX_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.0${PROJECT_VERSION_MINOR}")
else()
    set(TORVEX_DISPLAY_VERSION "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}")
endif()
set(windows_numbers ${PROJECT_VERSION_MAJOR} ${PROJECT_VERSION_MINOR})
foreach(number "${PROJECT_VERSION_PATCH}" "${PROJECT_VERSION_TWEAK}")
    if(number STREQUAL "")
        set(number 0)
    endif()
    list(APPEND windows_numbers ${number})
endforeach()
list(JOIN windows_numbers "," TORVEX_WINDOWS_VERSION)
unset(windows_numbers)

# Read by the program's --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/torvexversion.h.in ${PROJECT_BINARY_DIR}/generated/torvexversion.h @ONLY)
