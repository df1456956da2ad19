#!/usr/bin/env bash
# Builds and runs every test: on Linux, then cross-built for Windows under
# Wine with the end-to-end install of the Windows zip. With --sanitize, the
# Linux tests only, in build-asan under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

if [[ "${1:-}" == "--sanitize" ]]; then
    export BUILD_DIR=build-asan
    scripts/build.sh -DTORVEX_SANITIZE=ON
else
    export BUILD_DIR=build
    scripts/build.sh
fi
(cd "$BUILD_DIR" && ctest --output-on-failure -j2)

if [[ "${1:-}" != "--sanitize" ]]; then
    scripts/build-windows.sh --test
fi
