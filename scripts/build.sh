#!/usr/bin/env bash
# Configures and builds into BUILD_DIR (default: build); extra arguments go to
# CMake's configure step. BUILD_TARGETS, when set, names the only targets to
# build.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
[[ -n ${BUILD_TARGETS:-} ]] && read -r -a targets <<<"--target $BUILD_TARGETS"
cmake --build "$build_dir" -j"$(nproc)" "${targets[@]}"
