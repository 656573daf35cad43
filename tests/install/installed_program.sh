#!/usr/bin/env bash
# Installs the build into a staging root as the Debian package lays it out, validates the
# desktop entry, the AppStream file and the manual pages, then makes the tree read-only and
# uses the installed programs as an ordinary user (use_as_user.sh).
#   installed_program.sh BUILD_DIR WORKBOOK.xls
set -euo pipefail
build_dir=$1
workbook=$2

stage=$(mktemp -d "${TMPDIR:-/tmp}/kx-installed.XXXXXX")
trap 'chmod -R u+w "$stage"; rm -rf "$stage"' EXIT
chmod 755 "$stage"
root=$stage/root
fail() { echo "FAILED: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build_dir" --prefix /usr >/dev/null
for file in usr/bin/korvendal-xl usr/bin/korvendal-xl-convert usr/share/korvendal-xl/help/KorvendalExcel.html \
  usr/share/applications/korvendal-xl.desktop usr/share/metainfo/example.korvendal.KorvendalXL.metainfo.xml \
  usr/share/icons/hicolor/scalable/apps/korvendal-xl.svg usr/share/icons/hicolor/{16x16,48x48,256x256}/apps/korvendal-xl.png \
  usr/share/man/man1/korvendal-xl.1.gz usr/share/man/man1/korvendal-xl-convert.1.gz \
  etc/korvendal-xl/machine.reg etc/korvendal-xl/SETTINGS.INI; do
  [[ -f $root/$file ]] || fail "not installed: /$file"
done
grep -qF '"Path"="/usr/bin"' "$root/etc/korvendal-xl/machine.reg" || fail "the machine store does not name /usr/bin"
[[ $(file -b "$root/usr/share/icons/hicolor/48x48/apps/korvendal-xl.png") == "PNG image data, 48 x 48,"* ]] ||
  fail "the 48x48 icon is not a 48x48 PNG"

desktop-file-validate "$root/usr/share/applications/korvendal-xl.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/example.korvendal.KorvendalXL.metainfo.xml" >/dev/null
for page in "$root"/usr/share/man/man1/*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "$page: $warnings"
done

chmod -R a-w "$root"
"$(dirname "$0")/use_as_user.sh" "$root" "$stage/home" "$workbook"
