"""Runs korvendal-xl-convert over every .xls of some folders and says, per outcome and per
message, how many workbooks ended so, which took longest and which needed the most memory.

Outcomes: converted (exit 0 and a PDF), refused (an exit status with a message), crashed (a
signal), timed out, and "exit 0 without a PDF" (a failure reported as success). Messages are
grouped with the workbook's path, counts, offsets and quoted names taken out, so that one kind of
refusal is one line. With a converter that has --verbose, the warnings it prints while
loading are counted too (per warning, the workbooks that had it).
"""

import argparse
import glob
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from collections import defaultdict
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass, field

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), "fidelity"))

import ours  # noqa: E402

PROGRAM_PREFIX = "korvendal-xl-convert: "
WARNING_PREFIX = PROGRAM_PREFIX + "warning: "


@dataclass
class Run:
    workbook: str
    outcome: str
    message: str = ""
    seconds: float = 0.0
    memory_kb: int = 0
    pages: int | None = None
    warnings: list = field(default_factory=list)


def general_message(text, source):
    """The message with what differs between workbooks of one kind of fault taken out."""
    text = text.replace(source, "FILE")
    # Counts and offsets, not error numbers, record types (0x0203) or versions (Excel 2007, 97-2003).
    text = re.sub(r"(?<!error )(?<!Excel )(?<![\w./-])\d+(?![\w./-])", "N", text)
    text = re.sub(r'"[^"]*"', '"…"', text)
    return text


def outcome_of(status, target, stderr_lines, source):
    """(outcome, message) of a finished run; status as os.wait4 gives it."""
    failures = [line for line in stderr_lines if not line.startswith(WARNING_PREFIX)]
    message = general_message(failures[-1].removeprefix(PROGRAM_PREFIX), source) if failures else ""
    if os.WIFSIGNALED(status):
        return "crashed", signal.Signals(os.WTERMSIG(status)).name
    if os.WEXITSTATUS(status) != 0:
        return "refused", message or f"exit {os.WEXITSTATUS(status)} without a message"
    if not os.path.isfile(target) or os.path.getsize(target) == 0:
        return "exit 0 without a PDF", message
    return "converted", ""


def page_count(pdf):
    """pdfinfo's page count; None when it cannot tell."""
    try:
        info = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, errors="replace", timeout=60).stdout
    except (OSError, subprocess.TimeoutExpired):
        return None
    found = re.search(r"^Pages:\s+(\d+)", info, re.MULTILINE)
    return int(found.group(1)) if found else None


def wait_with_usage(pid, timeout_seconds):
    """(status, rusage) of the child, killing it after the timeout; status None when killed."""
    deadline = time.monotonic() + timeout_seconds
    while True:
        finished, status, usage = os.wait4(pid, os.WNOHANG)
        if finished:
            return status, usage
        if time.monotonic() > deadline:
            os.kill(pid, signal.SIGKILL)
            _, _, usage = os.wait4(pid, 0)
            return None, usage
        time.sleep(0.005)


def convert(converter, arguments, source, target, environment, timeout_seconds):
    errors_path = target + ".stderr"
    start = time.monotonic()
    with open(errors_path, "w+") as errors, open(os.devnull, "rb") as nothing, \
            open(os.devnull, "wb") as sink:
        pid = os.posix_spawn(converter, [converter, *arguments, source, target], environment,
                             file_actions=[(os.POSIX_SPAWN_DUP2, nothing.fileno(), 0),
                                           (os.POSIX_SPAWN_DUP2, sink.fileno(), 1),
                                           (os.POSIX_SPAWN_DUP2, errors.fileno(), 2)])
        status, usage = wait_with_usage(pid, timeout_seconds)
        seconds = time.monotonic() - start
        errors.seek(0)
        lines = [line.rstrip("\n") for line in errors if line.strip()]
    run = Run(os.path.basename(source), "timed out", f"killed after {timeout_seconds} s", seconds,
              usage.ru_maxrss)
    if status is not None:
        run.outcome, run.message = outcome_of(status, target, lines, source)
    if run.outcome == "converted":
        run.pages = page_count(target)
    run.warnings = sorted({general_message(line.removeprefix(WARNING_PREFIX), source)
                           for line in lines if line.startswith(WARNING_PREFIX)})
    for leftover in (target, errors_path):
        if os.path.exists(leftover):
            os.remove(leftover)
    return run


class Group:
    """Workbooks that share an outcome or a message."""

    def __init__(self):
        self.runs = []

    def line(self, label, width):
        slowest = max(self.runs, key=lambda run: run.seconds)
        largest = max(self.runs, key=lambda run: run.memory_kb)
        return (f"{label:<{width}} {len(self.runs):>5}  {slowest.seconds:7.2f} s {slowest.workbook:<28.28}"
                f" {largest.memory_kb / 1024:7.1f} MB {largest.workbook}")


def print_groups(title, groups, out):
    if not groups:
        return
    width = min(max(len(label) for label in groups), 110)
    print(f"\n{title:<{width}} files  slowest                            largest memory", file=out)
    for label, group in sorted(groups.items(), key=lambda item: (-len(item[1].runs), item[0])):
        print(group.line(label[:width], width), file=out)


def report(runs, out=sys.stdout):
    outcomes, messages, warnings = defaultdict(Group), defaultdict(Group), defaultdict(Group)
    for run in runs:
        outcomes[run.outcome].runs.append(run)
        if run.message:
            messages[f"{run.outcome}: {run.message}"].runs.append(run)
        for warning in run.warnings:
            warnings[warning].runs.append(run)
    print_groups("outcome", outcomes, out)
    print_groups("message", messages, out)
    print_groups("warning (workbooks converted or not)", warnings, out)
    total = sum(run.seconds for run in runs)
    pages = sum(run.pages or 0 for run in runs)
    print(f"\n{len(runs)} workbooks, {pages} pages, {total:.1f} s in all", file=out)


def write_table(runs, path):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path, "w") as table:
        table.write("workbook\toutcome\tpages\tseconds\tmemory_kb\tmessage\twarnings\n")
        for run in runs:
            pages = "" if run.pages is None else run.pages
            table.write(f"{run.workbook}\t{run.outcome}\t{pages}\t{run.seconds:.3f}\t{run.memory_kb}\t"
                        f"{run.message}\t{' | '.join(run.warnings)}\n")


def converter_arguments(converter):
    """--verbose when the converter has it, so that its load warnings are seen."""
    try:
        help_text = subprocess.run([converter, "--help"], capture_output=True, text=True, timeout=60).stdout
    except OSError as error:
        sys.exit(f"cannot run {converter}: {error.strerror}")
    return ["--verbose"] if "--verbose" in help_text else []


def parse_arguments(argv):
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("folders", nargs="+", help="folders of .xls workbooks (sub-folders are not read)")
    build = os.environ.get("KX_BUILD_DIR", "build")
    parser.add_argument("--converter", default=os.path.join(REPOSITORY, build, "src", "cli", "korvendal-xl-convert"),
                        help="korvendal-xl-convert to run; default %(default)s")
    parser.add_argument("--jobs", type=int, default=1, help="conversions at once; default 1")
    parser.add_argument("--timeout", type=float, default=300, help="seconds per workbook; default 300")
    parser.add_argument("--table", help="also write one line per workbook to this TSV file")
    return parser.parse_args(argv)


def main(argv):
    options = parse_arguments(argv)
    sources = sorted(path for folder in options.folders for path in glob.glob(os.path.join(folder, "*.xls")))
    if not sources:
        sys.exit("no .xls workbooks in " + ", ".join(options.folders))
    converter = os.path.abspath(options.converter)
    arguments = converter_arguments(converter)
    with tempfile.TemporaryDirectory(prefix="kx-bulk-") as scratch:
        store = os.path.join(scratch, "machine.reg")
        with open(store, "w", encoding="utf-8", errors="surrogateescape") as stream:
            gs = ours.shutil.which("gs") or "/usr/bin/gs"
            stream.write(ours.store_with_gs_path(ours.base_store_text(os.path.dirname(converter)), gs))
        environment = dict(os.environ, KORVENDAL_MACHINE_STORE=store)
        with ThreadPoolExecutor(max_workers=max(1, options.jobs)) as pool:
            runs = list(pool.map(lambda numbered: convert(converter, arguments, numbered[1],
                                                          os.path.join(scratch, f"{numbered[0]}.pdf"),
                                                          environment, options.timeout),
                                 enumerate(sources)))
    if options.table:
        write_table(runs, options.table)
    report(runs)


if __name__ == "__main__":
    main(sys.argv[1:])
