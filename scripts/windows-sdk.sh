#!/usr/bin/env bash
# Provides Qt for Windows (mingw-w64, x86_64), static libraries with the
# static mingw runtime, in the cache folder (TORVEX_CACHE, default
# ~/.cache/torvexsetup) and prints the folder it is in.
# Unpacks ../shared/windows-sdk/ beside the project when that archive is there
# and its SHA-256 matches; otherwise builds it from Debian's qt6-base source
# package (measured time in docs/windows.md), first enabling source
# packages from the machine's own package sources (scripts/deb-src-entries.sh).
#   --source DIR  builds the qtbase source tree DIR instead (a changed Qt, to
#                 relink the program with), the same way, into the cache's
#                 qt-mingw-w64-x86_64-static-own, anew on every run (the one
#                 before stays until the new one is whole)
# Only the folder goes to standard output, so that qt=$(windows-sdk.sh)
# gets nothing else; everything else goes to standard error.
set -euo pipefail
say() { echo "windows-sdk.sh: $*" >&2; }
own=
case ${1-} in
    "") ;;
    --source)
        # Its licence texts go with the program: checked now, not after the
        # build.
        [[ $# -eq 2 && -f ${2-}/CMakeLists.txt && -d $2/src/corelib && -f $2/LICENSES/LGPL-3.0-only.txt ]] ||
            { say "--source names a qtbase source tree (with CMakeLists.txt, src/corelib and LICENSES/)"; exit 2; }
        own=$(realpath -- "$2") ;;
    *) say "usage: windows-sdk.sh [--source QTBASE-SOURCE-DIR]"; exit 2 ;;
esac
cd "$(dirname "$0")/.."
exec 3>&1 1>&2

name=qt-6.4.2-mingw-w64-x86_64-static
[[ -z $own ]] || name=qt-mingw-w64-x86_64-static-own
cache=${TORVEX_CACHE:-$HOME/.cache/torvexsetup}
sdk=$cache/$name
archive_dir=${TORVEX_SDK_ARCHIVE_DIR:-../shared/windows-sdk}
archive=$archive_dir/$name.tar.xz
work=$cache/qt-build
# Each build starts in an emptied folder: a tree of the user's in it (the
# Debian source a stopped build left there, changed) would be lost.
if [[ -n $own && $own/ == "$(realpath -m -- "$work")"/* ]]; then
    say "--source: $own is in $work, which every build empties; move it out first"
    exit 2
fi

# Both ways below put the folder in place only once it is whole.
complete() {
    [[ -f $sdk/lib/cmake/Qt6/qt.toolchain.cmake && -f $sdk/lib/libQt6Widgets.a &&
       -f $sdk/plugins/imageformats/libqjpeg.a && -f $sdk/LICENSES/LGPL-3.0-only.txt &&
       -f $sdk/attributions/src/3rdparty/zlib/qt_attribution.json && -f $sdk/debian-source.txt ]]
}
if [[ -z $own ]] && complete; then
    echo "$sdk" >&3
    exit 0
fi
mkdir -p "$cache"
[[ -n $own ]] || rm -rf "$sdk"
rm -rf "$sdk.partial"

if [[ -z $own && -f $archive && -f $archive.sha256 ]] &&
   (cd "$archive_dir" && sha256sum --check --status "$name.tar.xz.sha256"); then
    say "unpacking $archive"
    mkdir -p "$sdk.partial"
    tar -xJf "$archive" -C "$sdk.partial"
    # The shared archive was built from this version of the source package
    # (the README beside it); the zip's notices name it. One packed from the
    # fallback's folder names its own, which may be a later one.
    [[ -f $sdk.partial/$name/debian-source.txt ]] ||
        echo "qt6-base 6.4.2+dfsg-10" >"$sdk.partial/$name/debian-source.txt"
    mv "$sdk.partial/$name" "$sdk"
    rmdir "$sdk.partial"
    echo "$sdk" >&3
    exit 0
fi

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
if [[ -n $own ]]; then
    say "building Qt for Windows (static) from $own:"
elif [[ -f $archive ]]; then
    say "$archive does not match its SHA-256; not used"
else
    say "no $archive"
fi
# The source package needs source entries; they come from the machine's own
# binary ones, so their mirrors and keys are the machine's too. Should apt
# still not find it, apt is left as it was found: the files of ours that were
# there before are put back as they were, and only new ones are removed.
# The folder is where apt reads it, as for deb-src-entries.sh.
parts=/etc/apt/sources.list.d
eval "$(apt-config shell parts Dir::Etc::SourceParts/d 2>/dev/null)"
parts=${parts%/}
enable_sources() {
    local held kind
    held=$(mktemp -d)
    for kind in sources list; do
        [[ ! -e $parts/torvex-deb-src.$kind ]] || "${sudo[@]}" cp -p -- "$parts/torvex-deb-src.$kind" "$held/"
    done
    scripts/deb-src-entries.sh / || { "${sudo[@]}" rm -rf -- "$held"; exit 1; }
    if "${sudo[@]}" apt-get update -qq && apt-get source --print-uris qt6-base >/dev/null 2>&1; then
        "${sudo[@]}" rm -rf -- "$held"
        return 0
    fi
    for kind in sources list; do
        if [[ -e $held/torvex-deb-src.$kind ]]; then
            "${sudo[@]}" cp -p -- "$held/torvex-deb-src.$kind" "$parts/.torvex-deb-src.$kind.was"
            "${sudo[@]}" mv -f -T -- "$parts/.torvex-deb-src.$kind.was" "$parts/torvex-deb-src.$kind"
        else
            "${sudo[@]}" rm -f -- "$parts/torvex-deb-src.$kind"
        fi
    done
    "${sudo[@]}" rm -rf -- "$held"
    "${sudo[@]}" apt-get update -qq || true
    say "the source package qt6-base cannot be had from this machine's package sources;"
    say "enable source packages for the release's main component by hand, or put the SDK archive in $archive_dir"
    exit 1
}
if [[ -z $own ]]; then
    say "building Qt 6.4.2 for Windows (static) from Debian's qt6-base source package instead:"
    apt-get source --print-uris qt6-base >/dev/null 2>&1 || enable_sources
fi
say "this takes about a quarter of an hour on two quiet cores, longer on busy ones, and about 3 GB of disk"
# A copy of a read-only tree that a full disk stopped half-way may have
# read-only folders, which rm alone could not empty.
[[ ! -e $work ]] || chmod -R u+w -- "$work"
rm -rf "$work"
mkdir -p "$work"
cd "$work"
if [[ -z $own ]]; then
    apt-get source --download-only qt6-base
    tar -xJf qt6-base_6.4.2+dfsg.orig.tar.xz
    source_version=$(sed -n 's/^Version: //p' qt6-base_*.dsc)
else
    # The user's tree is copied where Debian's would be unpacked, so that it
    # is only read and the two mends below land on the copy; the copy of a
    # read-only tree is made writable for them, and to be emptied after.
    cp -a -- "$own" qtbase-everywhere-src-6.4.2
    chmod -R u+w qtbase-everywhere-src-6.4.2
fi
# Two mends the lean recipe (below) needs in Qt 6.4.2, each made only where
# its guard is not there yet, and each checked after: a tree they do not fit
# stops here, not deep into the build. Qt compiles the tool and menu bars'
# removed functions whether those bars are built or not; the Vista style
# includes the input dialog's header though it asks before using it.
unmendable() {
    if [[ -n $own ]]; then
        say "$1 of $own is not as Qt 6.4.2 has it; $2 by hand"
    else
        say "$1 of Debian's qt6-base is not as this recipe knows it; put the SDK archive in $archive_dir"
    fi
    exit 1
}
# Whether each #if of a file has its #endif.
balanced() { awk '/^[ \t]*#[ \t]*if/ {n++} /^[ \t]*#[ \t]*endif/ {n--} END {exit n != 0}' "$1"; }
removed_api=qtbase-everywhere-src-6.4.2/src/widgets/compat/removed_api.cpp
[[ -f $removed_api ]] || unmendable "${removed_api#*/}" "guard its tool and menu bar parts"
if ! grep -q '^#if QT_CONFIG(toolbar)$' "$removed_api"; then
    sed -i -e 's|^#include "qtoolbar.h"$|#if QT_CONFIG(toolbar)\n#include "qtoolbar.h"|' \
        -e 's|^#include "qmenubar.h"$|#endif\n#if QT_CONFIG(menubar)\n#include "qmenubar.h"|' \
        -e 's|^// #include <qotherheader.h>$|#endif\n// #include <qotherheader.h>|' "$removed_api"
fi
# Each guard once, right above its header, and each closed.
[[ $(grep -c '^#if QT_CONFIG(\(toolbar\|menubar\))$' "$removed_api") -eq 2 ]] &&
    awk 'p == "#if QT_CONFIG(toolbar)" && $0 == "#include \"qtoolbar.h\"" {t++}
         p == "#if QT_CONFIG(menubar)" && $0 == "#include \"qmenubar.h\"" {m++}
         {p = $0} END {exit !(t == 1 && m == 1)}' "$removed_api" && balanced "$removed_api" ||
    unmendable "${removed_api#*/}" "guard its tool and menu bar parts"
vista=qtbase-everywhere-src-6.4.2/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h
[[ -f $vista ]] || unmendable "${vista#*/}" "guard its input dialog include"
# Each include of the header without the guard on the line above gets one; a
# tree that no longer includes it needs none.
awk '/^[ \t]*#[ \t]*include[ \t]*<qinputdialog\.h>/ && p != "#if QT_CONFIG(inputdialog)" {
         print "#if QT_CONFIG(inputdialog)"; print; print "#endif"; p = "#endif"; next }
     {print; p = $0; sub(/[ \t\r]+$/, "", p)}' "$vista" >"$vista.mended"
# Moved, not written through: the copy may link to the user's own file.
if cmp -s "$vista" "$vista.mended"; then rm -f "$vista.mended"; else mv -f "$vista.mended" "$vista"; fi
balanced "$vista" || unmendable "${vista#*/}" "guard its input dialog include"
cat > mingw.cmake <<'EOT'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOT
# Only what the program and its tests use is built: Core, Gui, Widgets and
# Test; the windows and offscreen (tests) platforms, the Windows Vista style,
# the JPEG reader (the welcome picture). Every other plugin, and the widget
# classes and GUI features nothing here uses, are switched off; Fusion stays,
# as the offscreen platform's tests are laid out in it. Turning a feature off
# turns off what needs it, but Qt does not check that a program still
# compiles: build the program and its tests against the result.
# minimal has no switch in Qt 6.4 and is built (four files).
lean=(
    # Static libraries with function and data sections, so that the linker
    # drops what a program does not reach; compiled for size.
    -DFEATURE_gc_binaries=ON -DFEATURE_optimize_size=ON
    # Plugins. The direct2d plugin goes with Direct2D 1.1; the direct2d
    # feature itself stays, as Gui builds its DirectWrite font database,
    # which the windows platform uses, only with it.
    -DFEATURE_direct2d1_1=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    # Widgets and dialogs. The Windows Vista style draws item views, spin
    # boxes, tab bars, tool buttons and tool bars without asking whether
    # they are built, so those stay.
    -DFEATURE_columnview=OFF -DFEATURE_listwidget=OFF -DFEATURE_treewidget=OFF -DFEATURE_tablewidget=OFF
    -DFEATURE_datawidgetmapper=OFF -DFEATURE_undoview=OFF -DFEATURE_completer=OFF -DFEATURE_fscompleter=OFF
    -DFEATURE_combobox=OFF -DFEATURE_fontcombobox=OFF
    -DFEATURE_commandlinkbutton=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_calendarwidget=OFF
    -DFEATURE_textbrowser=OFF -DFEATURE_splashscreen=OFF -DFEATURE_splitter=OFF -DFEATURE_lcdnumber=OFF
    -DFEATURE_dial=OFF -DFEATURE_toolbox=OFF -DFEATURE_dockwidget=OFF
    -DFEATURE_mdiarea=OFF -DFEATURE_statusbar=OFF -DFEATURE_menubar=OFF
    -DFEATURE_progressbar=OFF -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF
    -DFEATURE_syntaxhighlighter=OFF -DFEATURE_keysequenceedit=OFF -DFEATURE_colordialog=OFF
    -DFEATURE_filedialog=OFF -DFEATURE_fontdialog=OFF -DFEATURE_progressdialog=OFF -DFEATURE_inputdialog=OFF
    -DFEATURE_errormessage=OFF -DFEATURE_wizard=OFF -DFEATURE_formlayout=OFF -DFEATURE_sizegrip=OFF
    -DFEATURE_scroller=OFF -DFEATURE_style_stylesheet=OFF -DFEATURE_whatsthis=OFF -DFEATURE_statustip=OFF
    # GUI and core features.
    -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
    -DFEATURE_pdf=OFF -DFEATURE_movie=OFF -DFEATURE_picture=OFF -DFEATURE_systemtrayicon=OFF
    -DFEATURE_sessionmanager=OFF -DFEATURE_standarditemmodel=OFF -DFEATURE_filesystemmodel=OFF
    -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF -DFEATURE_undogroup=OFF -DFEATURE_imageformat_ppm=OFF
    -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF -DFEATURE_proxymodel=OFF
    -DFEATURE_stringlistmodel=OFF -DFEATURE_jalalicalendar=OFF -DFEATURE_hijricalendar=OFF
    -DFEATURE_islamiccivilcalendar=OFF
)
# Tablet support stays off: the source package leaves out the Wintab header.
cmake -S qtbase-everywhere-src-6.4.2 -B build -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/mingw.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$sdk.partial" -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DFEATURE_static_runtime=ON \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF \
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF -DFEATURE_opengl=OFF -DINPUT_opengl=no \
    -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_vulkan=OFF \
    -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    "${lean[@]}"
ninja -C build -j"$(nproc)"
cmake --install build
# Relocatable as the shared archive is: the toolchain file beside Qt's own.
cp mingw.cmake "$sdk.partial/lib/cmake/Qt6/mingw-w64-x86_64.cmake"
sed -i 's|set(__qt_initially_configured_toolchain_file "[^"]*")|set(__qt_initially_configured_toolchain_file "${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake")|' \
    "$sdk.partial/lib/cmake/Qt6/qt.toolchain.cmake"
# A changed Qt is no Debian source: the zip's README then names no package.
[[ -n $own ]] || echo "qt6-base $source_version" >"$sdk.partial/debian-source.txt"
mkdir -p "$sdk.partial/LICENSES"
cp qtbase-everywhere-src-6.4.2/LICENSES/* "$sdk.partial/LICENSES/"
# What the program carries of Qt's third-party code, and under which terms:
# each qt_attribution.json with the licence and copyright files it names.
(cd qtbase-everywhere-src-6.4.2 && find . -name qt_attribution.json -print0) |
while IFS= read -r -d '' json; do
    from=qtbase-everywhere-src-6.4.2/$(dirname "$json")
    to=$sdk.partial/attributions/$(dirname "$json")
    mkdir -p "$to"
    cp "$from/qt_attribution.json" "$to/"
    # Public domain code names no file: no match is no error.
    named=$(tr '\n' ' ' <"$from/qt_attribution.json" |
        grep -oE '"(LicenseFiles?|CopyrightFile)" *: *(\[[^]]*\]|"[^"]*")' |
        sed -E 's/^"[A-Za-z]+" *: *//' | grep -oE '"[^"]+"' | tr -d '"') || true
    while IFS= read -r file; do
        # A file named but left out of the source package is skipped.
        if [[ -n $file && -f $from/$file ]]; then
            mkdir -p "$(dirname "$to/$file")"
            cp "$from/$file" "$to/$file"
        fi
    done <<<"$named"
done
rm -rf "$sdk"
mv "$sdk.partial" "$sdk"
cd /
rm -rf "$work"
echo "$sdk" >&3
