#!/usr/bin/env bash
# The Windows SDK step on a qtbase tree of the user's (--source): the tree is
# copied and only read, the two mends land on the copy, and a tree they do
# not fit stops the step before the build, with the SDK before left whole.
# cmake and ninja are stand-ins that record what the build would see.
# Usage: ownsource.sh <project dir>
set -uo pipefail
umask 022
script=$1/scripts/windows-sdk.sh
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

mkdir "$work/bin"
cat >"$work/bin/cmake" <<'EOT'
#!/usr/bin/env bash
if [[ $1 == --install ]]; then
    p=$(<prefix)
    mkdir -p "$p/lib/cmake/Qt6" && echo 'set(__qt_initially_configured_toolchain_file "x")' >"$p/lib/cmake/Qt6/qt.toolchain.cmake"
    exit
fi
for a; do [[ $a != -DCMAKE_INSTALL_PREFIX=* ]] || echo "${a#*=}" >prefix; done
s=qtbase-everywhere-src-6.4.2
cp "$s/src/widgets/compat/removed_api.cpp" "$s/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h" "$SEEN/"
stat -c %A "$s/src" >"$SEEN/mode"
EOT
printf '#!/bin/sh\n' >"$work/bin/ninja"
chmod +x "$work/bin/"*

api='#include "qmenu.h"
#include "qtoolbar.h"
void toolBar();
#include "qmenubar.h"
void menuBar();
// #include <qotherheader.h>'
api_mended='#include "qmenu.h"
#if QT_CONFIG(toolbar)
#include "qtoolbar.h"
void toolBar();
#endif
#if QT_CONFIG(menubar)
#include "qmenubar.h"
void menuBar();
#endif
// #include <qotherheader.h>'
vista='#ifndef VISTA_H
#include <qinputdialog.h>
#endif'
vista_mended='#ifndef VISTA_H
#if QT_CONFIG(inputdialog)
#include <qinputdialog.h>
#endif
#endif'

# row <name> <status> <removed_api.cpp> <vista header> [<what is expected in them>]
# on a tree in a folder named with a blank and a non-ASCII letter; the
# function $prepare names, when set, is run on it first.
row() {
    local tree="$work/tree ü/$1" seen=$work/seen status=0 out
    chmod -R u+w "$work/tree ü" 2>/dev/null; rm -rf "$work/tree ü" "$seen" && mkdir -p "$tree/src/corelib" "$tree/src/widgets/compat" \
        "$tree/src/plugins/styles/windowsvista" "$tree/LICENSES" "$seen"
    touch "$tree/CMakeLists.txt" "$tree/LICENSES/LGPL-3.0-only.txt"
    [[ $3 == - ]] || printf '%s\n' "$3" >"$tree/src/widgets/compat/removed_api.cpp"
    printf '%s\n' "$4" >"$tree/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h"
    [[ -z ${prepare-} ]] || $prepare "$tree"
    cp -a "$tree" "$work/before"
    out=$(PATH=$work/bin:$PATH SEEN=$seen TORVEX_CACHE=$work/cache "$script" --source "$tree" 2>&1) || status=$?
    (( status == $2 )) || fail "$1: ended with $status: $out"
    diff -r --no-dereference "$work/before" "$tree" >/dev/null || fail "$1: the user's tree was changed"
    if (( $2 == 0 )); then
        [[ $(<"$seen/removed_api.cpp") == "${5:-$api_mended}" && $(<"$seen/qwindowsvistastyle_p_p.h") == "${6:-$vista_mended}" ]] ||
            fail "$1: the build saw: $(cat "$seen/removed_api.cpp" "$seen/qwindowsvistastyle_p_p.h")"
        [[ $(<"$seen/mode") == d?w* ]] || fail "$1: the build's copy is $(<"$seen/mode")"
    else
        [[ $out == *"is not as Qt 6.4.2 has it"* && $out != *"$work/cache"/qt-build* ]] || fail "$1: said: $out"
        [[ -f $work/cache/qt-mingw-w64-x86_64-static-own/lib/cmake/Qt6/qt.toolchain.cmake ]] ||
            fail "$1: the SDK before is gone"
    fi
    [[ ! -e $work/cache/qt-build ]] || (( $2 )) || fail "$1: the build folder is left"
    chmod -R u+w "$work/before" && rm -rf "$work/before"
}

row "Qt 6.4.2 as released" 0 "$api" "$vista"
row "mended already" 0 "$api_mended" "$vista_mended"
read_only() { chmod -R a-w "$1"; }
prepare=read_only row "a read-only tree" 0 "$api" "$vista"
# The copy's header links to the user's file, which stays as it is.
linked() {
    mv "$1/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h" "$work/vista.h"
    ln -s "$work/vista.h" "$1/src/plugins/styles/windowsvista/qwindowsvistastyle_p_p.h"
    ln -s . "$1/loop"
}
prepare=linked row "a header linked from elsewhere, and a loop" 0 "$api" "$vista"
[[ $(<"$work/vista.h") == "$vista" ]] || fail "the linked header was written through"
row "no input dialog include" 0 "$api" "#ifndef VISTA_H
#endif" "" "#ifndef VISTA_H
#endif"
row "the last guard would be left open" 1 "${api%//*}" "$vista"
row "only the menu bar guarded" 1 "${api_mended/'#if QT_CONFIG(toolbar)'$'\n'/}" "$vista"
row "no removed_api.cpp" 1 - "$vista"

(( failed == 0 )) && echo "ownsource: all rows pass"
exit "$failed"
