#!/usr/bin/env bash
# Uses an installed Korvendal XL as a user who cannot write to the install folder: the
# converter makes a PDF of the workbook, and the desktop program, started by the command of its
# menu entry, runs offscreen and keeps its settings and workspace in that user's own folders.
# As root the user is nobody.
#   use_as_user.sh ROOT HOME WORKBOOK.xls
# ROOT is where the tree was installed ("" for the system itself); HOME, a new folder, becomes
# the user's home.
set -euo pipefail
root=$1 home=$2 workbook=$3
fail() { echo "FAILED: $*" >&2; exit 1; }

mkdir -p "$home/tmp"
cp "$workbook" "$home/book.xls"
as_user=()
if [[ $(id -u) -eq 0 ]]; then
  chown -R nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups --)
fi
run_as_user() {
  env -i PATH="$root/usr/bin:/usr/bin:/bin" HOME="$home" TMPDIR="$home/tmp" LANG=C.UTF-8 QT_QPA_PLATFORM=offscreen \
    KORVENDAL_MACHINE_STORE="$root/etc/korvendal-xl/machine.reg" "${as_user[@]}" "$@"
}

run_as_user korvendal-xl-convert --paper Letter "$home/book.xls" "$home/book.pdf" >/dev/null
pages=$(pdfinfo "$home/book.pdf" | sed -n 's/^Pages: *//p')
[[ ${pages:-0} -ge 1 ]] || fail "the installed converter made no pages"

# The splash takes four seconds, then the main window opens. Offscreen nothing can be seen, but
# Qt's accessibility log names each window (and each message box) as it appears.
read -r -a menu_command < <(sed -n 's/^Exec=//p' "$root/usr/share/applications/korvendal-xl.desktop")
status=0
run_as_user env QT_LOGGING_RULES=qt.accessibility.cache.debug=true timeout 8 "${menu_command[@]/\%F/$home/book.xls}" \
  >"$home/desktop.log" 2>&1 || status=$?
[[ $status -eq 124 ]] || fail "the desktop program ended early (status $status): $(cat "$home/desktop.log")"
grep -qF 'name="Korvendal - Excel to PDF Converter"' "$home/desktop.log" ||
  fail "the desktop program showed no main window: $(grep -o 'name="[^"]*"' "$home/desktop.log" | sort -u | tr '\n' ' ')"
[[ -f $home/.config/korvendal-xl/SETTINGS.INI ]] || fail "no settings file in the user's configuration folder"
[[ -d $home/.cache/korvendal-xl/1 ]] || fail "no workspace in the user's cache folder"
[[ -z $(find "$root/usr/bin" "$root/usr/share/korvendal-xl" "$root/etc/korvendal-xl" -newer "$home/book.xls") ]] ||
  fail "something was written into the install folder"
echo "converter made $pages page(s); desktop program opened its main window as $(run_as_user id -un)"
