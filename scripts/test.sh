#!/usr/bin/env bash
# Builds and runs every test. With --sanitize, in build-asan under
# AddressSanitizer and UndefinedBehaviorSanitizer.
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
cd "$BUILD_DIR"
ctest --output-on-failure -j2
