#!/usr/bin/env bash
# Builds the Debian package korvendal-xl_VERSION_ARCH.deb with CPack: the programs, help,
# icons, desktop entry, AppStream file, manual pages and the machine store under
# /etc/korvendal-xl, depending on the libraries they link, Ghostscript and the fonts.
#   scripts/package.sh [--built] [--lint]
# --built packages the build folder as it stands instead of building first; --lint runs
# lintian on the package, lists what it reports and fails on errors.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${KX_BUILD_DIR:-build}
build=true lint=false
for argument in "$@"; do
  case $argument in
    --built) build=false ;;
    --lint) lint=true ;;
    *) echo "usage: $0 [--built] [--lint]" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh
[[ $build == false ]] || scripts/build.sh
output=$(cd "$build_dir" && cpack -G DEB -B "$PWD/package" 2>&1) || { echo "$output" >&2; exit 1; }
package=$(ls -t "$build_dir"/package/korvendal-xl_*.deb | head -n 1)
echo "$package ($(du -k "$package" | cut -f1) KiB)"
if [[ $lint == true ]]; then
  status=0
  report=$(lintian --fail-on error --tag-display-limit 0 "$package" 2>&1) || status=$?
  # lintian also warns that it runs as root, as it does in CI; that is no finding about the package.
  grep -v 'running with root privileges' <<<"$report" || true
  exit "$status"
fi
