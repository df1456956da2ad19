#!/usr/bin/env bash
# Cross-builds the wizard, its tests and the demo for 64-bit Windows into
# build-windows/ and packs build-windows/TorvexSetup-1.00-win64.zip.
#   --test  then runs the tests under Wine and the end-to-end install of the
#           unpacked zip on the simulated handheld
# Installs what is missing and provides the Qt for Windows first
# (scripts/windows-sdk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-windows

scripts/install-deps.sh --with-windows-tools
qt=$(scripts/windows-sdk.sh)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows-toolchain.cmake" -DTORVEX_WINDOWS_QT="$qt" >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && cpack -G ZIP >/dev/null)
echo "Windows build: $build/TorvexSetup.exe, $build/TorvexSetup-1.00-win64.zip"

if [[ "${1:-}" == "--test" ]]; then
    trap '"$build/wine-stop.sh"' EXIT
    status=0
    (cd "$build" && ctest --output-on-failure -j2) || status=$?
    tests/wine/endtoend.sh "$build" || status=$?
    exit "$status"
fi
