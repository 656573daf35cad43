#!/usr/bin/env bash
# Installs what is missing, builds, prepares the program folder and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
scripts/prepare-program.sh
export KORVENDAL_MACHINE_STORE=${KORVENDAL_MACHINE_STORE:-$(pwd)/program/machine.reg}
exec program/korvendal-xl "$@"
