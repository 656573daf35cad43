"""Batch throughput: korvendal-xl-convert's batch form against LibreOffice in one warm process.

Both convert the same workbooks with the same page set-up on the first sheet (A4 portrait,
zoom 100, gridlines): the DEV corpus and the WIDE corpus, one after the other, on this machine.
Wall time is what a user waits; processor time is what the work costs on a machine that others
share. Then the cost of starting one more file: a batch of copies of a workbook that fails at its first
bytes (so that the figure is the start and the report, not the conversion), a batch of copies
of a small workbook, and the same small workbook converted one run at a time.
"""

import argparse
import json
import os
import resource
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))
sys.path.insert(0, os.path.join(REPOSITORY, "bench", "fidelity"))

from fidelity import default_converter, default_corpus  # noqa: E402
from ours import base_store_text, store_with_gs_path  # noqa: E402

# Our two PDF routes, each measured on every set beside LibreOffice.
ROUTES = {"direct PDF": [], "through Ghostscript": ["--ghostscript"]}
START_COPIES = 40
FAILS_AT_ONCE = os.path.join("bad", "bad-csv-renamed.xls")
SMALL_WORKBOOK = "poi-govdocs1-626534.xls"


def workbooks(folder):
    return sorted(os.path.join(folder, name) for name in os.listdir(folder)
                  if name.lower().endswith(".xls") and not name.startswith("."))


def machine_store(scratch, converter):
    """A machine store naming this machine's Ghostscript, as the set-up script would write it."""
    text = store_with_gs_path(base_store_text(os.path.dirname(converter)), shutil.which("gs") or "/usr/bin/gs")
    path = os.path.join(scratch, "machine.reg")
    with open(path, "w", encoding="utf-8", errors="surrogateescape") as stream:
        stream.write(text)
    return path


def children_cpu_seconds():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime


def group_cpu_seconds(group):
    """Processor seconds used so far by the living processes of a process group."""
    total = 0
    for entry in os.listdir("/proc"):
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except (OSError, IndexError):
            continue
        if int(fields[2]) == group:
            total += int(fields[11]) + int(fields[12])
    return total / os.sysconf("SC_CLK_TCK")


def run_batch(converter, sources, output, jobs, environment, route=()):
    """Wall and processor seconds of one batch run over `sources` (a folder or files), and its results."""
    results = output + ".jsonl"
    command = [converter, *route, *sources, "--output-dir", output, "--quiet", "--results", results]
    if jobs:
        command += ["--jobs", str(jobs)]
    start, cpu = time.monotonic(), children_cpu_seconds()
    subprocess.run(command, env=environment, stdin=subprocess.DEVNULL, check=False)
    seconds, cpu = time.monotonic() - start, children_cpu_seconds() - cpu
    with open(results) as lines:
        return seconds, cpu, [json.loads(line) for line in lines]


def run_single_form(converter, source, target, runs, environment):
    start = time.monotonic()
    for _ in range(runs):
        subprocess.run([converter, source, target], env=environment, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
    return (time.monotonic() - start) / runs


class WarmLibreOffice:
    """One soffice process converting file after file, as a batch or a conversion server does."""

    def __init__(self):
        import libreoffice
        self.lo = libreoffice
        self.profile = libreoffice.Profile()
        libreoffice.warm_up(self.profile)
        self.office = libreoffice.Office(self.profile)
        self.office.connect()

    def convert_all(self, sources, output):
        """Wall and processor seconds for every source, and how many gave a PDF."""
        os.makedirs(output, exist_ok=True)
        converted = 0
        start, cpu = time.monotonic(), group_cpu_seconds(self.office.process.pid)
        for source in sources:
            target = os.path.join(output, os.path.splitext(os.path.basename(source))[0] + ".pdf")
            try:
                document = self.office.open(source)
                if document is None:
                    continue
                if self.lo.read_as_workbook(document)[0]:
                    self.lo.apply_first_sheet_setup(document)
                    self.lo.export_pdf(document, target)
                    converted += os.path.exists(target)
                document.close(True)
            except Exception:  # UNO errors have no common base worth naming
                pass
        return time.monotonic() - start, group_cpu_seconds(self.office.process.pid) - cpu, converted

    def close(self):
        self.office.quit()
        self.profile.remove()


def copies(folder, source, count):
    os.makedirs(folder, exist_ok=True)
    for number in range(count):
        os.symlink(source, os.path.join(folder, f"copy{number:03}.xls"))
    return folder


def throughput_table(rows):
    print(f"{'set':<6} {'tool':<28} {'files':>5} {'PDFs':>5} {'wall s':>7} {'files/s':>8} {'CPU s':>7} "
          f"{'files/CPU s':>11} {'peak MB/job':>11}")
    for row in rows:
        print(f"{row['set']:<6} {row['tool']:<28} {row['files']:>5} {row['pdfs']:>5} {row['seconds']:>7.1f} "
              f"{row['files'] / row['seconds']:>8.2f} {row['cpu']:>7.1f} {row['files'] / row['cpu']:>11.2f} "
              f"{row.get('peak', ''):>11}")


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--converter", default=default_converter())
    parser.add_argument("--corpus", default=default_corpus())
    parser.add_argument("--jobs", type=int, default=0, help="our --jobs (default: the converter's own)")
    parser.add_argument("--without-libreoffice", action="store_true")
    arguments = parser.parse_args(argv)

    scratch = tempfile.mkdtemp(prefix="kx-bench-batch-")
    environment = dict(os.environ, KORVENDAL_MACHINE_STORE=machine_store(scratch, arguments.converter))
    office = None if arguments.without_libreoffice else WarmLibreOffice()
    print(f"{os.cpu_count()} processors; ours with --jobs {arguments.jobs or 'default'}; "
          f"LibreOffice {'not run' if office is None else 'in one warm process'}")
    try:
        rows = []
        sets = {"DEV": arguments.corpus, "WIDE": os.path.join(arguments.corpus, "wide")}
        for name, folder in sets.items():
            sources = workbooks(folder)
            ours = []
            for route, options in ROUTES.items():
                seconds, cpu, results = run_batch(arguments.converter, [folder], os.path.join(scratch, name + route),
                                                  arguments.jobs, environment, options)
                peak = max((line["peak_memory_kb"] for line in results), default=0) / 1024
                ours.append((route, seconds, cpu))
                rows.append({"set": name, "tool": "ours, " + route, "files": len(sources),
                             "pdfs": sum(line["status"] == "converted" for line in results), "seconds": seconds,
                             "cpu": cpu, "peak": f"{peak:.1f}"})
            if office:
                lo_seconds, lo_cpu, lo_pdfs = office.convert_all(sources, os.path.join(scratch, name + "-lo"))
                rows.append({"set": name, "tool": "LibreOffice (warm)", "files": len(sources), "pdfs": lo_pdfs,
                             "seconds": lo_seconds, "cpu": lo_cpu})
                for route, seconds, cpu in ours:
                    print(f"{name}: ours {route}: {lo_seconds / seconds:.2f} times LibreOffice's throughput "
                          f"({lo_cpu / cpu:.2f} times per processor second)")
        throughput_table(rows)

        print(f"\nCost of one more file ({START_COPIES} copies, one at a time):")
        failing = os.path.join(arguments.corpus, FAILS_AT_ONCE)
        small = os.path.join(arguments.corpus, SMALL_WORKBOOK)
        for label, source in (("fails at its first bytes", failing), ("small workbook", small)):
            folder = copies(os.path.join(scratch, "start-" + label.split()[0]), source, START_COPIES)
            seconds, _, _ = run_batch(arguments.converter, [folder], folder + "-out", 1, environment)
            print(f"  batch, {label:<26} {seconds / START_COPIES * 1000:7.1f} ms a file")
            if office:
                lo_seconds, _, _ = office.convert_all(workbooks(folder), folder + "-lo")
                print(f"  LibreOffice, {label:<20} {lo_seconds / START_COPIES * 1000:7.1f} ms a file")
        single = run_single_form(arguments.converter, small, os.path.join(scratch, "single.pdf"), 10, environment)
        print(f"  one run per file, small workbook  {single * 1000:7.1f} ms a file")
    finally:
        if office:
            office.close()
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main(sys.argv[1:])
