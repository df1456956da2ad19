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
set(patch ${PROJECT_VERSION_PATCH})
set(tweak ${PROJECT_VERSION_TWEAK})
if(patch STREQUAL "")
    set(patch 0)
endif()
if(tweak STREQUAL "")
    set(tweak 0)
endif()
set(TORVEX_WINDOWS_VERSION "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${patch},${tweak}")
unset(patch)
unset(tweak)

# Read by the program's --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/torvexversion.h.in ${PROJECT_BINARY_DIR}/generated/torvexversion.h @ONLY)
