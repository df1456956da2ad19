#!/usr/bin/env bash
# The Windows SDK step unpacking an archive whose SHA-256 matches: the shared
# one, which names no source package version, gets the one it was built
# from; one packed from the fallback's folder keeps its own.
# Usage: unpack.sh <project dir>
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
name="qt-6.4.2-mingw-w64-x86_64-static"

# row <project dir> <debian-source.txt in the archive, or -> <what the SDK then
# names> <name>
row() {
    local qt=$work/pack/$name out
    rm -rf "$work/pack" "$work/cache" && mkdir -p "$qt/lib/cmake/Qt6" "$qt/plugins/imageformats" "$qt/LICENSES" \
        "$qt/attributions/src/3rdparty/zlib" "$work/shared"
    touch "$qt/lib/cmake/Qt6/qt.toolchain.cmake" "$qt/lib/libQt6Widgets.a" "$qt/plugins/imageformats/libqjpeg.a" \
        "$qt/LICENSES/LGPL-3.0-only.txt" "$qt/attributions/src/3rdparty/zlib/qt_attribution.json"
    [[ $2 == - ]] || echo "$2" >"$qt/debian-source.txt"
    tar -cJf "$work/shared/$name.tar.xz" -C "$work/pack" "$name"
    (cd "$work/shared" && sha256sum "$name.tar.xz" >"$name.tar.xz.sha256")
    out=$(TORVEX_CACHE=$work/cache TORVEX_SDK_ARCHIVE_DIR=$work/shared "$1/scripts/windows-sdk.sh" 2>&1) &&
        [[ $(<"$work/cache/$name/debian-source.txt") == "$3" ]] ||
        { echo "FAIL: $4: $out; names $(cat "$work/cache/$name/debian-source.txt" 2>&1)"; failed=1; }
}
row "$1" - "qt6-base 6.4.2+dfsg-10" "the shared archive"
row "$1" "qt6-base 6.4.2+dfsg-11" "qt6-base 6.4.2+dfsg-11" "one packed from the fallback's folder"

(( failed == 0 )) && echo "unpack: all rows pass"
exit "$failed"
