#!/usr/bin/env bash
# The Windows zip's third-party notices, written at configure time from the
# Qt it is built against: from the attributions/ the SDK step keeps, or, for
# a static Qt built another way, from Qt's licence texts.
# Usage: notices.sh <project dir>
set -uo pipefail
project=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

cat >"$work/driver.cmake" <<'EOT'
cmake_minimum_required(VERSION 3.25)
include(${NOTICES})
torvex_write_notices(OUTPUT "${OUT}" QT_DIR "${QT}" LICENCES "${LICENCES}" TEMPLATE "${TEMPLATE}" IDS zlib)
EOT
echo "@QT_ATTRIBUTIONS@" >"$work/template"
# row <name> <status 0|1> <text expected in the notices, or in the message>
# with the Qt in $qt and its licence texts in $licences, folders named as no
# pattern could find them.
row() {
    local out=$work/notices.txt status=0
    rm -f "$out"
    cmake -DNOTICES="$project/packaging/windows/notices.cmake" -DOUT="$out" -DQT="$qt" \
        -DLICENCES="$licences" -DTEMPLATE="$work/template" -P "$work/driver.cmake" >"$work/said" 2>&1 || status=1
    (( status == $2 )) || { fail "$1: ended with $status: $(cat "$work/said")"; return; }
    grep -qF -- "$3" "$( ((status)) && echo "$work/said" || echo "$out")" || fail "$1: no \"$3\" in: $(cat "$work/said" "$out" 2>/dev/null)"
}

qt="$work/qt [own]*" licences="$work/licences [own]?"
mkdir -p "$qt/lib" "$licences"
echo "The LGPL's text" >"$licences/LGPL-3.0-only.txt"
row "no attributions/: Qt's licence texts" 0 "The LGPL's text"
rm "$licences/LGPL-3.0-only.txt"
row "no attributions/ and no licence texts" 1 "has no attributions/"
mkdir -p "$qt/attributions/src/3rdparty/zlib"
echo '{ "Id": "zlib", "Name": "Zlib", "License": "zlib License", "LicenseId": "Zlib", "LicenseFile": "LICENSE" }' \
    >"$qt/attributions/src/3rdparty/zlib/qt_attribution.json"
echo "The zlib licence's standard text" >"$licences/Zlib.txt"
row "a licence file left out: the standard text" 0 "The zlib licence's standard text"

(( failed == 0 )) && echo "notices: all rows pass"
exit "$failed"
