#!/usr/bin/env bash
# Builds and runs every test, with the tools installed that every test needs:
# on Linux, then cross-built for Windows under Wine with the end-to-end
# install of the Windows zip, its program signed with a throwaway
# certificate made here and the signature checked against it. With
# --sanitize, the Linux tests only, in build-asan under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
tools=(--with-windows-tools --with-packaging-tools)
[[ "${1:-}" == "--sanitize" ]] && tools+=(--with-sanitizer-tools)
scripts/install-deps.sh "${tools[@]}"

if [[ "${1:-}" == "--sanitize" ]]; then
    export BUILD_DIR=build-asan
    # clang's runtime: GCC 12's leak checker takes a thread-local block that
    # glibc allocated for a library loaded at run time (libjpeg, through Qt's
    # image plugin) for a block with a header in front whenever it starts 16
    # bytes into a page, and dies scanning a range read from that "header".
    # A tree set up with another compiler starts afresh: CMake would drop the
    # options given here along with the old cache.
    if [[ -f $BUILD_DIR/CMakeCache.txt ]] &&
        ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=\(.*/\)\?clang++-19$' "$BUILD_DIR/CMakeCache.txt"; then
        rm -rf "$BUILD_DIR/CMakeCache.txt" "$BUILD_DIR/CMakeFiles"
    fi
    scripts/build.sh -DTORVEX_SANITIZE=ON -DCMAKE_CXX_COMPILER=clang++-19
else
    export BUILD_DIR=build
    scripts/build.sh
fi
(cd "$BUILD_DIR" && ctest --output-on-failure -j2)

if [[ "${1:-}" != "--sanitize" ]]; then
    scripts/sign-test.sh
fi
