#!/usr/bin/env bash
# As root on a machine of its own (CI): installs the Debian package with apt, uses the installed
# programs as user nobody, then purges the package and checks that none of its files is left.
# It changes the system, so it is no step of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $(id -u) -ne 0 ]]; then
  echo "$0 installs and purges a package: run it as root on a machine of its own" >&2
  exit 1
fi
package=$(scripts/package.sh --built | tail -n 1 | cut -d ' ' -f 1)
export DEBIAN_FRONTEND=noninteractive
apt-get install -y -qq -o DPkg::Lock::Timeout=300 --no-install-recommends "$(realpath "$package")" >/dev/null
installed=$(dpkg -L korvendal-xl)

home=$(mktemp -d /tmp/kx-package-user.XXXXXX)
trap 'rm -rf "$home"' EXIT
chmod 755 "$home"
tests/install/use_as_user.sh "" "$home/nobody" tests/data/reader/features.xls

apt-get purge -y -qq -o DPkg::Lock::Timeout=300 korvendal-xl >/dev/null
left=$(while read -r path; do if [[ -e $path && ! -d $path ]]; then echo "$path"; fi; done <<<"$installed")
[[ -z $left && ! -e /etc/korvendal-xl ]] || { echo "FAILED: left after purge: $left" >&2; exit 1; }
echo "package $(basename "$package"): installed, used as nobody, purged without a trace"
