#!/usr/bin/env bash
# Puts the simulated handheld's rapi.dll into the Wine prefix's system32,
# where the handheld's desktop software installs the real one.
# Usage: install-rapi.sh <Windows build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
"$build/wine-run.sh" cmd /c exit 0 # makes the prefix on first use
system32=${TORVEX_WINEPREFIX:-$build/wineprefix}/drive_c/windows/system32
dll=$build/demo/lib/rapi.dll
# Replaced whole, never rewritten under a program that has it loaded.
if ! cmp -s "$dll" "$system32/rapi.dll"; then
    cp "$dll" "$system32/rapi.dll.new"
    mv -f "$system32/rapi.dll.new" "$system32/rapi.dll"
fi
