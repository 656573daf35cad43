#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite; fails when nothing was tested.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "${KX_BUILD_DIR:-build}" --output-on-failure --no-tests=error --timeout 600 -j"$(nproc)"
