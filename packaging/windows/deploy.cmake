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
install(FILES "${CMAKE_CURRENT_LIST_DIR}/README.txt" DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME "TorvexSetup-${PROJECT_VERSION_MAJOR}.00-win64")
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
# Not the Debian package's /usr: the zip's folder is the program's.
set(CPACK_SET_DESTDIR OFF)
unset(CPACK_INSTALL_PREFIX)
