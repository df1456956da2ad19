# The Windows zip (cpack in the build folder): the one program, with Qt and
# the compiler's runtime linked in, the setup kit beside it (a double-click
# starts it in its own folder, where it looks for the INI files), the
# licences, the notices of what the program carries, and a README.
include(${CMAKE_CURRENT_LIST_DIR}/notices.cmake)

# With a shared Qt (Qt's installer) the zip lacks Qt's DLLs and plugins.
get_target_property(qt_type Qt6::Core TYPE)
if(NOT qt_type STREQUAL "STATIC_LIBRARY")
    message(WARNING "Qt at ${Qt6_DIR} is shared: the zip will lack its DLLs and plugins "
                    "(run windeployqt on the zip's TorvexSetup.exe, or build against a static Qt)")
endif()

# The Qt prefix: LICENSES/, attributions/ and the source version, as the
# SDK step leaves them. Another static Qt (a changed one to relink with) may
# have no attributions/ (notices.cmake then takes Qt's licence texts) and no
# LICENSES/: TORVEX_QT_LICENCES (cache or environment) then names its
# source's LICENSES folder.
get_filename_component(TORVEX_QT_DIR "${Qt6_DIR}/../../.." ABSOLUTE)
if(EXISTS "${TORVEX_QT_DIR}/debian-source.txt")
    file(STRINGS "${TORVEX_QT_DIR}/debian-source.txt" TORVEX_QT_SOURCE LIMIT_COUNT 1)
    set(TORVEX_QT_ORIGIN "from qtbase ${Qt6_VERSION} as Debian packages it\n(source package ${TORVEX_QT_SOURCE})")
    set(TORVEX_QT_SOURCE_OFFER "qtbase ${Qt6_VERSION}, the original source of Debian's source
  package ${TORVEX_QT_SOURCE} (qt6-base_6.4.2+dfsg.orig.tar.xz, from
  any Debian mirror or https://snapshot.debian.org/package/qt6-base/).")
else()
    set(TORVEX_QT_ORIGIN "from qtbase ${Qt6_VERSION}, built from a source of its own\n(not Debian's)")
    set(TORVEX_QT_SOURCE_OFFER "qtbase ${Qt6_VERSION}, built from a source of its own (not
  Debian's), which whoever passes this program on offers with it.")
endif()
if(NOT TORVEX_QT_LICENCES)
    if(DEFINED ENV{TORVEX_QT_LICENCES})
        # Kept, as the compilers named by CC and CXX are: the configuration
        # runs again by itself, without that environment.
        set(TORVEX_QT_LICENCES "$ENV{TORVEX_QT_LICENCES}" CACHE PATH "The LICENSES folder of the Qt's source")
    else()
        set(TORVEX_QT_LICENCES "${TORVEX_QT_DIR}/LICENSES")
    endif()
endif()
foreach(licence LGPL-3.0-only GPL-3.0-only)
    if(NOT EXISTS "${TORVEX_QT_LICENCES}/${licence}.txt")
        message(FATAL_ERROR "No ${licence}.txt in ${TORVEX_QT_LICENCES}: set TORVEX_QT_LICENCES to the LICENSES "
                            "folder of the source the Qt at ${TORVEX_QT_DIR} was built from")
    endif()
endforeach()

install(DIRECTORY "${TORVEX_KIT_DIR}/" DESTINATION .)
install(FILES "${PROJECT_SOURCE_DIR}/LICENSE" DESTINATION . RENAME LICENSE.txt)
# The LGPL 3 is the GPL 3 with extra permissions: both go with the program.
install(FILES "${TORVEX_QT_LICENCES}/LGPL-3.0-only.txt" DESTINATION . RENAME Qt-LGPL-3.0.txt)
install(FILES "${TORVEX_QT_LICENCES}/GPL-3.0-only.txt" DESTINATION . RENAME GPL-3.0.txt)
# The placeholder serves builds for testing only: a signed build is a
# release, whose licence offer must point where the source really is.
set(TORVEX_SOURCE_URL "https://torvex.invalid/torvexsetup" CACHE STRING
    "Where the program's source is published, as the Windows zip's README names it")
option(TORVEX_SIGN "Sign TorvexSetup.exe in the zip (packaging/windows/sign.cmake)" OFF)
# The host as a browser finds it: in any case, after any user name, before
# any port, path, query or fragment, without the final dot of a full name.
string(TOLOWER "${TORVEX_SOURCE_URL}" url)
string(REGEX REPLACE "^[a-z][a-z0-9+.-]*://([^/?#\\\\]*@)?([^/?#\\\\:@]*).*$" "\\2" host "${url}")
string(REGEX REPLACE "\\.$" "" host "${host}")
# A blank, a line break or a quote is in no address, and would put other
# lines into the README.
if(TORVEX_SIGN AND (NOT url MATCHES "^[a-z][a-z0-9+.-]*://" OR url MATCHES "[ \t\r\n\"<>]" OR NOT host MATCHES "[^.]\\.[^.]"))
    message(FATAL_ERROR "Signing a release needs the address its source is published at "
                        "(TORVEX_SOURCE_URL, scripts/build-windows.sh --source-url URL); "
                        "\"${TORVEX_SOURCE_URL}\" is none")
elseif(TORVEX_SIGN AND host MATCHES "(^|\\.)(invalid|example|localhost|example\\.(com|net|org))$")
    message(FATAL_ERROR "Signing a release needs the address its source is published at "
                        "(TORVEX_SOURCE_URL, scripts/build-windows.sh --source-url URL), not the placeholder "
                        "${TORVEX_SOURCE_URL}")
endif()
configure_file("${CMAKE_CURRENT_LIST_DIR}/README.txt.in" "${CMAKE_CURRENT_BINARY_DIR}/README.txt" @ONLY)
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/README.txt" DESTINATION .)

# What Qt linked into the program carries of others' code, by the Ids of
# Qt's attributions: those whose code the link of TorvexSetup.exe pulls in
# from Qt Core, Gui, Widgets, the bundled libraries and the three plugins,
# as its link map (-Wl,-Map) shows. Not linked in: the PDF writer's glyph
# names, and everything of other systems. (Its sRGB colour profile is, under
# the ICC's terms, which ask for no notice.) The Markdown reader (md4c) is
# in a Qt built with it, and the SDK's lean recipe leaves it out.
set(markdown_reader)
if(QT_FEATURE_textmarkdownreader)
    set(markdown_reader md4c)
endif()
set(notice_ids doubleconversion easing freetype freetype-zlib freetype-bdf freetype-pcf harfbuzz-ng
    libjpeg libpng ${markdown_reader} pcre2 pcre2-sljit tinycbor zlib unicode-character-database
    unicode-cldr siphash grayraster smooth-scaling-algorithm xserverhelper
    md4 md5 sha1 sha3_endian sha3_keccak blake2 rfc6234)
torvex_write_notices(
    OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt"
    QT_DIR "${TORVEX_QT_DIR}"
    LICENCES "${TORVEX_QT_LICENCES}"
    TEMPLATE "${CMAKE_CURRENT_LIST_DIR}/THIRD-PARTY-NOTICES.txt.in"
    IDS ${notice_ids})
# For the test that holds the list against the program's link map, with the
# gradient presets (webgradients), whose notice the template carries by
# hand: the shared archive's attributions/ has only those under src/.
file(WRITE "${CMAKE_BINARY_DIR}/notice-ids.txt" "${notice_ids};webgradients\n")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_LIST_DIR}/THIRD-PARTY-NOTICES.txt.in")
install(FILES "${CMAKE_CURRENT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt" DESTINATION .)

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
if(TORVEX_SIGN)
    set(CPACK_PRE_BUILD_SCRIPTS "${CMAKE_CURRENT_LIST_DIR}/sign.cmake")
endif()
