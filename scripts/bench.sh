#!/usr/bin/env bash
# Builds and runs the benchmarks on a private X server: CPU use during the
# install run's waits and the delay in noticing a process's end; start-up time
# and memory beside an empty Qt window.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export BUILD_DIR=build
scripts/build.sh
cmake --build build --target benchmarks
xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench_waits
xvfb-run -a -s "-screen 0 1024x768x24" build/bench/bench_startup
