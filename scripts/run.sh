#!/usr/bin/env bash
# Builds the wizard and starts it on the bundled simulated handheld, with the
# sample application manager named in a stand-in registry file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export BUILD_DIR=build
scripts/build.sh
exec build/demo/run-demo.sh "$PWD/build/TorvexSetup"
