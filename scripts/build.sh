#!/usr/bin/env bash
# Configures and builds into build/ (or the folder named by KX_BUILD_DIR), passing extra arguments to CMake.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KX_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)"
