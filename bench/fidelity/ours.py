"""Running korvendal-xl-convert on one workbook, timed, and timing Ghostscript inside it.

The converter finds Ghostscript through "GSPath" in the machine store. The bench hands it a
store of its own in which "GSPath" names a small wrapper (a C program built on the spot, or a
shell script where no compiler is found) that runs the real gs and logs the seconds each run
takes, so one run of the converter gives both its total time and the time Ghostscript spent in
it. The wrapper can also keep a copy of the PostScript it was given.
"""

import json
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

# The same in C, used when a C compiler is at hand: the shell script's own start-up and its two
# runs of date cost about 4 ms per workbook, which the bench would count as ours.
GS_WRAPPER_C = r"""#include <spawn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>

extern char** environ;

static double now(void)
{
    struct timespec clock;
    clock_gettime(CLOCK_MONOTONIC, &clock);
    return clock.tv_sec + clock.tv_nsec / 1e9;
}

static void copy(const char* from, const char* to)
{
    FILE* in = fopen(from, "rb");
    FILE* out = in ? fopen(to, "wb") : NULL;
    char buffer[65536];
    size_t length;
    while (out && (length = fread(buffer, 1, sizeof buffer, in)) > 0)
        fwrite(buffer, 1, length, out);
    if (out)
        fclose(out);
    if (in)
        fclose(in);
}

int main(int argc, char** argv)
{
    const char* gs = GS;
    argv[0] = (char*)gs;
    int status = 0;
    pid_t child;
    const double start = now();
    if (posix_spawn(&child, gs, NULL, NULL, argv, environ) != 0 || waitpid(child, &status, 0) < 0)
        return 127;
    const double end = now();
    FILE* log = fopen(LOG, "a");
    if (log) {
        fprintf(log, "%.6f %.6f\n", start, end);
        fclose(log);
    }
    const char* keep = getenv("KX_BENCH_KEEP_POSTSCRIPT");
    const char* last = argv[argc - 1];
    const size_t length = strlen(last);
    if (keep && *keep && argc > 1 && length > 3 && strcmp(last + length - 3, ".ps") == 0)
        copy(last, keep);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
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


def compile_wrapper(wrapper, gs, log):
    """Builds the C wrapper at `wrapper`; False when there is no compiler or it fails."""
    compiler = shutil.which("cc") or shutil.which("gcc")
    if not compiler:
        return False
    source = wrapper + ".c"
    with open(source, "w") as stream:
        stream.write(GS_WRAPPER_C)
    # json's string quoting is also a valid C string literal for any path.
    defines = [f"-DGS={json.dumps(gs)}", f"-DLOG={json.dumps(log)}"]
    try:
        built = subprocess.run([compiler, "-O2", *defines, "-o", wrapper, source],
                               capture_output=True, timeout=60)
    except (OSError, subprocess.TimeoutExpired):
        return False
    return built.returncode == 0 and os.access(wrapper, os.X_OK)


class GhostscriptTimer:
    """A machine store and a gs wrapper in a scratch folder."""

    def __init__(self, folder, base_store_text):
        self.folder = folder
        self.log = os.path.join(folder, "gs-times.log")
        gs = shutil.which("gs") or "/usr/bin/gs"
        wrapper = os.path.join(folder, "gs-timed")
        if not compile_wrapper(wrapper, gs, self.log):
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


def convert(converter, source, target, timer=None, timeout_seconds=600, keep_postscript=None, options=()):
    """Runs the converter once, `options` after the bench's own; never raises."""
    env = timer.environment(keep_postscript) if timer else None
    start = time.monotonic()
    try:
        result = subprocess.run([converter, *CONVERT_OPTIONS, *options, source, target], env=env,
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
