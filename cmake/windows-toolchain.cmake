# Cross-builds for 64-bit Windows with mingw-w64's posix-thread compilers
# against the Qt that scripts/windows-sdk.sh provides. The Qt folder comes
# from TORVEX_WINDOWS_QT (environment or cache), by default the SDK step's
# cache folder. Tests run under Wine (see cmake/wine.cmake).
if(NOT TORVEX_WINDOWS_QT)
    if(DEFINED ENV{TORVEX_WINDOWS_QT})
        set(TORVEX_WINDOWS_QT "$ENV{TORVEX_WINDOWS_QT}")
    else()
        set(TORVEX_WINDOWS_QT "$ENV{HOME}/.cache/torvexsetup/qt-6.4.2-mingw-w64-x86_64-static")
    endif()
endif()
# try_compile projects read this file again and must see the same folder.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TORVEX_WINDOWS_QT)

if(NOT EXISTS "${TORVEX_WINDOWS_QT}/lib/cmake/Qt6/qt.toolchain.cmake")
    message(FATAL_ERROR "No Qt for Windows at ${TORVEX_WINDOWS_QT}: run scripts/windows-sdk.sh, "
                        "or set TORVEX_WINDOWS_QT to the folder that holds it.")
endif()

# Qt's own toolchain file: the mingw-w64 compilers and Qt's prefix.
include("${TORVEX_WINDOWS_QT}/lib/cmake/Qt6/qt.toolchain.cmake")
