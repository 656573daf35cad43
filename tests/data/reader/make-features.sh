#!/usr/bin/env bash
# Writes features.xls from features.fods with LibreOffice (a real writer of the format):
#   tests/data/reader/make-features.sh
set -euo pipefail
cd "$(dirname "$0")"
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
soffice -env:UserInstallation="file://$profile" --headless --convert-to 'xls:MS Excel 97' --outdir . features.fods
