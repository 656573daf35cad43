"""Running korvendal-xl-convert on one workbook, timed, and timing Ghostscript inside it.

The converter finds Ghostscript through "GSPath" in the machine store. The bench hands it a
store of its own in which "GSPath" names a small script that runs the real gs and logs the
seconds each run takes, so one run of the converter gives both its total time and the time
Ghostscript spent in it. The script can also keep a copy of the PostScript it was given.
"""

import os
import re
import shlex
import shutil
import subprocess
import time
from dataclasses import dataclass

CONVERT_OPTIONS = ["--paper", "A4", "--zoom", "100", "--gridlines"]

GS_WRAPPER = """#!/bin/sh
# Runs Ghostscript and logs how long it took, for the bench.
start=$(date +%s.%N)
{gs} "$@"
status=$?
end=$(date +%s.%N)
echo "$start $end" >> {log}
if [ -n "$KX_BENCH_KEEP_POSTSCRIPT" ]; then
  for argument do last=$argument; done
  case "$last" in *.ps) cp -f "$last" "$KX_BENCH_KEEP_POSTSCRIPT" ;; esac
fi
exit $status
"""

# Used when the converter has no machine store yet (a fresh build): what the set-up script
# would record for a program folder that is the converter's own folder.
MINIMAL_STORE = """Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Office\\11.0\\Excel\\InstallRoot]
"Path"="{program}"

[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Korvendal]
"Name"="Korvendal"
"""

GS_PATH_LINE = re.compile(r'^"GSPath"=.*$', re.MULTILINE)
GS_KEY = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]"


@dataclass
class Outcome:
    ok: bool
    seconds: float
    gs_seconds: float | None = None  # None when Ghostscript's time could not be seen
    note: str = ""


def _registry_quote(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


def store_with_gs_path(store_text, gs_path):
    """The machine store text with "GSPath" pointing at gs_path, other lines kept."""
    line = f'"GSPath"="{_registry_quote(gs_path)}"'
    if GS_PATH_LINE.search(store_text):
        return GS_PATH_LINE.sub(lambda _: line, store_text, count=1)
    return store_text.rstrip("\n") + f"\n\n{GS_KEY}\n{line}\n"


def find_machine_store(program_folder):
    """The machine store the converter would read: the variable, the system one, or the build's."""
    for candidate in (os.environ.get("KORVENDAL_MACHINE_STORE"), "/etc/korvendal-xl/machine.reg",
                      os.path.join(program_folder, "machine.reg")):
        if candidate and os.path.isfile(candidate):
            return candidate
    return None


def sum_logged_seconds(log_path):
    if not os.path.exists(log_path):
        return None
    total = 0.0
    with open(log_path) as log:
        for line in log:
            start, end = line.split()
            total += float(end) - float(start)
    return total


def base_store_text(program_folder):
    store = find_machine_store(program_folder)
    if store is None:
        return MINIMAL_STORE.format(program=_registry_quote(program_folder))
    with open(store, encoding="utf-8", errors="surrogateescape") as stream:
        return stream.read()


class GhostscriptTimer:
    """A machine store and a gs wrapper in a scratch folder."""

    def __init__(self, folder, base_store_text):
        self.folder = folder
        self.log = os.path.join(folder, "gs-times.log")
        gs = shutil.which("gs") or "/usr/bin/gs"
        wrapper = os.path.join(folder, "gs-timed")
        with open(wrapper, "w") as stream:
            stream.write(GS_WRAPPER.format(gs=shlex.quote(gs), log=shlex.quote(self.log)))
        os.chmod(wrapper, 0o755)
        text = store_with_gs_path(base_store_text, wrapper)
        self.store = os.path.join(folder, "machine.reg")
        with open(self.store, "w", encoding="utf-8", errors="surrogateescape") as stream:
            stream.write(text)

    def environment(self, keep_postscript=None):
        env = dict(os.environ, KORVENDAL_MACHINE_STORE=self.store)
        if keep_postscript:
            env["KX_BENCH_KEEP_POSTSCRIPT"] = keep_postscript
        if os.path.exists(self.log):
            os.remove(self.log)
        return env

    def seconds(self):
        return sum_logged_seconds(self.log)


def convert(converter, source, target, timer=None, timeout_seconds=600, keep_postscript=None):
    """Runs the converter once; never raises."""
    env = timer.environment(keep_postscript) if timer else None
    start = time.monotonic()
    try:
        result = subprocess.run([converter, *CONVERT_OPTIONS, source, target], env=env,
                                stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                errors="replace", timeout=timeout_seconds)
    except subprocess.TimeoutExpired:
        return Outcome(False, time.monotonic() - start, None, f"killed after {timeout_seconds} s")
    except OSError as error:
        return Outcome(False, 0.0, None, f"cannot run {converter}: {error.strerror}")
    seconds = time.monotonic() - start
    gs_seconds = timer.seconds() if timer else None
    if result.returncode != 0:
        message = (result.stderr.strip() or result.stdout.strip()).splitlines()
        return Outcome(False, seconds, gs_seconds,
                       f"exit {result.returncode}: {message[-1] if message else 'no message'}")
    if not os.path.isfile(target) or os.path.getsize(target) == 0:
        return Outcome(False, seconds, gs_seconds, "exit 0 but no PDF written")
    return Outcome(True, seconds, gs_seconds)
