#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Does nothing when they are all present; without root, names the command to run instead.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libcairo2-dev libpango1.0-dev libfontconfig-dev libgdk-pixbuf-2.0-dev libgsf-1-dev libxcb1-dev libxcb-ewmh-dev
  zlib1g-dev nettle-dev librsvg2-dev libwmf-dev libemf2svg-dev
  libgtest-dev libgmock-dev
  ghostscript poppler-utils
  # packaging, and the checks of the installed program (scripts/package.sh, tests/install)
  dpkg-dev file lintian desktop-file-utils appstream man-db
  fonts-liberation fonts-crosextra-carlito fonts-crosextra-caladea fonts-dejavu-core fonts-noto-cjk
)
# Another list may be named on the command line (the fidelity bench names its own;
# scripts/fuzz.sh names clang, which only fuzzing needs).
[[ $# -gt 0 ]] && packages=("$@")

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

command="apt-get install -y ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
  echo "Korvendal XL needs these Debian packages, and installing them needs root:" >&2
  echo "  sudo apt-get update && sudo $command" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
