# The Windows zip (cpack in the build folder): the program with the Qt DLLs
# and plugins it loads, laid out as windeployqt lays them out, the compiler's
# runtime, the setup kit beside the program (a double-click starts it in its
# own folder, where it looks for the INI files), the licences and a README.
include(${PROJECT_SOURCE_DIR}/cmake/windows-runtime.cmake)

install(FILES
        "${TORVEX_QT_BIN_DIR}/Qt6Core.dll" "${TORVEX_QT_BIN_DIR}/Qt6Gui.dll" "${TORVEX_QT_BIN_DIR}/Qt6Widgets.dll"
        ${TORVEX_RUNTIME_DLLS}
        DESTINATION .)
install(FILES "${TORVEX_QT_DIR}/plugins/platforms/qwindows.dll" DESTINATION platforms)
install(FILES "${TORVEX_QT_DIR}/plugins/styles/qwindowsvistastyle.dll" DESTINATION styles)
# The welcome picture is a JPEG: without qjpeg it is an empty box.
install(FILES "${TORVEX_QT_DIR}/plugins/imageformats/qjpeg.dll"
              "${TORVEX_QT_DIR}/plugins/imageformats/qgif.dll"
              "${TORVEX_QT_DIR}/plugins/imageformats/qico.dll"
        DESTINATION imageformats)
install(DIRECTORY "${TORVEX_KIT_DIR}/" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
install(FILES "${TORVEX_QT_DIR}/LICENSES/LGPL-3.0-only.txt" DESTINATION . RENAME Qt-LGPL-3.0.txt)
configure_file("${CMAKE_CURRENT_LIST_DIR}/README.txt.in" "${CMAKE_CURRENT_BINARY_DIR}/README.txt" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "TorvexSetup-${TORVEX_DISPLAY_VERSION}-win64")
# For the scripts that pack, sign and unpack it.
file(WRITE "${CMAKE_BINARY_DIR}/zip-name.txt" "${CPACK_PACKAGE_FILE_NAME}.zip\n")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# Not the Debian package's /usr: the zip's folder is the program's.
set(CPACK_SET_DESTDIR OFF)
unset(CPACK_INSTALL_PREFIX)

# Signed before it is packed, with the certificate named at packing time
# (sign.cmake): nothing of it is kept in the build's cache.
option(TORVEX_SIGN "Sign TorvexSetup.exe in the zip (packaging/windows/sign.cmake)" OFF)
if(TORVEX_SIGN)
    set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/sign.cmake")
endif()
