#!/usr/bin/env bash
# Lays out a runnable program folder from the build and writes the machine store that
# tells the program where its workbook engine, Ghostscript and its printer are.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build_dir=${KX_BUILD_DIR:-build}
program=${KX_PROGRAM_DIR:-$root/program}

mkdir -p "$program/temp" "$program/help"
install -m 755 "$build_dir/src/startup/korvendal-xl" "$program/korvendal-xl"
install -m 755 "$build_dir/src/cli/korvendal-xl-convert" "$program/korvendal-xl-convert"
cp help/KorvendalExcel.html "$program/help/KorvendalExcel.html"
[[ -e "$program/SETTINGS.INI" ]] || printf '[SETTINGS]\r\n' > "$program/SETTINGS.INI"

gs_path=$(command -v gs || true)
if [[ -z "$gs_path" ]]; then
  echo "Ghostscript (gs) is not installed; run scripts/install-deps.sh first." >&2
  exit 1
fi

# Registry export format: backslashes inside quoted values are doubled.
escape() { printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g'; }
store=$(mktemp)
cat > "$store" <<STORE
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\11.0\\Excel\\InstallRoot]
"Path"="$(escape "$program")"

[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]
"GSPath"="$(escape "$gs_path")"

[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Korvendal]
"Name"="Korvendal"
"Printer Driver"="HP Color LaserJet 5/5M PS"
STORE
install -m 644 "$store" "$program/machine.reg"
if [[ $(id -u) -eq 0 ]]; then
  mkdir -p /etc/korvendal-xl
  install -m 644 "$store" /etc/korvendal-xl/machine.reg
fi
rm -f "$store"
echo "Program folder ready: $program"
