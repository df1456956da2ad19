#!/usr/bin/env bash
# Builds the wizard and starts it on the bundled simulated handheld, with the
# sample application manager named in a stand-in registry file. Builds only
# what the demo needs; scripts/test.sh builds the rest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export BUILD_DIR=build
BUILD_TARGETS="TorvexSetup torvex-demo" scripts/build.sh
exec build/demo/run-demo.sh "$PWD/build/TorvexSetup"
