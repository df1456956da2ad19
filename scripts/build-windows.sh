#!/usr/bin/env bash
# Cross-builds the wizard, its tests and the demo for 64-bit Windows into
# build-windows/ and packs the zip that build-windows/zip-name.txt names
# (TorvexSetup-<version>-win64.zip).
#   --sign  signs TorvexSetup.exe before it is packed (Authenticode, SHA-256)
#           with the PKCS#12 file named by TORVEX_SIGN_PKCS12, its password
#           read from the file named by TORVEX_SIGN_PASSWORD_FILE, time-stamped
#           by TORVEX_SIGN_TIMESTAMP_URL when that is set
#   --test  then runs the tests under Wine and the end-to-end install of the
#           unpacked zip on the simulated handheld
#   --source-url URL  where the program's source is published, as the zip's
#           README offers it; a signed build is refused without one
# Installs what is missing and provides the Qt for Windows first
# (scripts/windows-sdk.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-windows

sign=OFF
test=no
# Without an address the build's README keeps the placeholder, which only
# an unsigned build accepts.
source_url=(-UTORVEX_SOURCE_URL)
while (( $# )); do
    case $1 in
        --sign) sign=ON ;;
        --test) test=yes ;;
        --source-url)
            [[ -n ${2-} ]] || { echo "build-windows.sh: --source-url needs the address" >&2; exit 2; }
            source_url=(-DTORVEX_SOURCE_URL="$2")
            shift ;;
        *) echo "build-windows.sh: unknown option $1 (known: --sign, --test, --source-url URL)" >&2; exit 2 ;;
    esac
    shift
done

# A zip of an earlier run must not stand for this one if this one fails.
[[ -f $build/zip-name.txt ]] && rm -f "$build/$(cat "$build/zip-name.txt")"
# Said at once, not after the Qt for Windows, which may take an hour to
# build (the configuration refuses a placeholder given as the address).
[[ $sign == OFF || ${source_url[0]} != -U* ]] ||
    { echo "build-windows.sh: Signing a release needs --source-url URL, where its source is published" >&2; exit 2; }

scripts/install-deps.sh --with-windows-tools
# What signing needs is checked before anything is built.
[[ $sign == ON ]] && cmake -DTORVEX_SIGN_CHECK=ON -P packaging/windows/sign.cmake
# A Qt of the user's own (a changed one to relink with) comes first.
qt=${TORVEX_WINDOWS_QT:-$(scripts/windows-sdk.sh)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/windows-toolchain.cmake" -DTORVEX_WINDOWS_QT="$qt" \
    -DTORVEX_SIGN="$sign" "${source_url[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
zip=$(cat "$build/zip-name.txt")
rm -f "$build/$zip"
(cd "$build" && cpack -G ZIP >/dev/null)
if [[ $sign == ON ]]; then
    echo "Windows build: $build/TorvexSetup.exe, $build/$zip (TorvexSetup.exe in it signed)"
else
    echo "Windows build: $build/TorvexSetup.exe, $build/$zip (not signed)"
fi

if [[ $test == yes ]]; then
    trap '"$build/wine-stop.sh"' EXIT
    status=0
    # Under Wine on a busy machine a program now and then fails before its
    # first word: wine-run.sh runs such a test once more, and only such a
    # one, so that no failed check is hidden by a second try.
    (cd "$build" && ctest --output-on-failure -j2) || status=$?
    tests/wine/endtoend.sh "$build" || status=$?
    exit "$status"
fi
