"""Converts every workbook of a folder with korvendal-xl-convert and with LibreOffice, using
the same page set-up, and says how far the PDFs agree and how long each tool took.

First sheet: A4, portrait, zoom 100, gridlines on, headings off, print area cleared; the
other sheets as the workbook stores them. See README.md beside this file.
"""

import argparse
import glob
import json
import os
import statistics
import sys
import tempfile
from dataclasses import asdict, dataclass

import compare
import libreoffice
import ours

HERE = os.path.dirname(os.path.abspath(__file__))
REPOSITORY = os.path.dirname(os.path.dirname(HERE))


@dataclass
class Row:
    workbook: str
    ours_ok: bool
    ours_note: str
    libreoffice_ok: bool
    libreoffice_note: str
    pages_ours: int | None = None
    pages_libreoffice: int | None = None
    pages_agree: bool | None = None
    text_f1: float | None = None
    visual: float | None = None
    worst_page: int | None = None
    worst_page_visual: float | None = None
    textless_pages_ours: int | None = None
    textless_pages_libreoffice: int | None = None
    seconds_ours: float | None = None
    seconds_libreoffice: float | None = None
    seconds_gs: float | None = None
    page_visual: str = ""  # the score of each page pair, in page order
    words_only_ours: str = ""
    words_only_libreoffice: str = ""

    @property
    def compared(self):
        return self.ours_ok and self.libreoffice_ok


def default_corpus():
    """shared/corpus beside the project, or beside one of the folders above it."""
    folder = REPOSITORY
    while True:
        candidate = os.path.join(os.path.dirname(folder), "shared", "corpus")
        if os.path.isdir(candidate) or os.path.dirname(folder) == folder:
            return candidate
        folder = os.path.dirname(folder)


def default_converter():
    build = os.environ.get("KX_BUILD_DIR", "build")
    return os.path.join(REPOSITORY, build, "src", "cli", "korvendal-xl-convert")


def parse_arguments(argv):
    parser = argparse.ArgumentParser(
        description="Compare korvendal-xl-convert with LibreOffice on a folder of .xls workbooks.")
    parser.add_argument("folder", nargs="?", default=default_corpus(),
                        help="folder of .xls workbooks (its sub-folders are not read); default %(default)s")
    parser.add_argument("--one", metavar="WORKBOOK",
                        help="run only this workbook and keep both PDFs and side-by-side pages in --keep")
    parser.add_argument("--keep", metavar="FOLDER",
                        help="keep PDFs, PostScript and page images here (with --one: default build/fidelity/view)")
    parser.add_argument("--converter", default=default_converter(),
                        help="korvendal-xl-convert to run; default %(default)s")
    parser.add_argument("--table", default=os.path.join(REPOSITORY, "build", "fidelity", "results.tsv"),
                        help="per-workbook table (TSV; a .json beside it); default %(default)s")
    parser.add_argument("--markdown", metavar="FILE",
                        help="also write the results as a Markdown table (for docs/fidelity.md)")
    parser.add_argument("--libreoffice-only", action="store_true",
                        help="convert with LibreOffice only (no scores, no ratios)")
    parser.add_argument("--no-comments", action="store_true",
                        help="do not print comments on LibreOffice's first sheet")
    parser.add_argument("--fresh-profile", action="store_true",
                        help="a new LibreOffice profile for every workbook (slower; default: one per run)")
    parser.add_argument("--timeout", type=float, default=600, help="seconds allowed per conversion")
    parser.add_argument("--words", type=int, default=0, metavar="N",
                        help="print under each workbook the N words most over-represented on either side")
    parser.add_argument("--dpi", type=int, default=compare.VISUAL_DPI,
                        help="resolution of the visual comparison; default %(default)s")
    return parser.parse_args(argv)


def workbooks(arguments):
    if arguments.one:
        return [os.path.abspath(arguments.one)]
    return sorted(p for p in glob.glob(os.path.join(glob.escape(arguments.folder), "*"))
                  if p.lower().endswith(".xls") and os.path.isfile(p))


TABLE_WORDS = 8  # words named in the table on each side


def short_words(pairs):
    return " ".join(f"{word}x{count}" for word, count in pairs)


def score(row, pdf_ours, pdf_libreoffice, dpi, words=TABLE_WORDS):
    row.pages_ours = compare.page_count(pdf_ours)
    row.pages_libreoffice = compare.page_count(pdf_libreoffice)
    row.pages_agree = row.pages_ours == row.pages_libreoffice
    row.textless_pages_ours = compare.pages_without_text(pdf_ours)
    row.textless_pages_libreoffice = compare.pages_without_text(pdf_libreoffice)
    words_ours = compare.pdf_words(pdf_ours)
    words_libreoffice = compare.pdf_words(pdf_libreoffice)
    row.text_f1 = compare.word_f1(words_ours, words_libreoffice)
    only_ours, only_libreoffice = compare.word_differences(words_ours, words_libreoffice, words)
    row.words_only_ours = short_words(only_ours)
    row.words_only_libreoffice = short_words(only_libreoffice)
    pairs = []
    row.visual = compare.visual_score(pdf_ours, pdf_libreoffice, dpi, pairs)
    row.page_visual = " ".join(f"{score:.2f}" for score in pairs)
    if pairs:
        worst = min(range(len(pairs)), key=pairs.__getitem__)
        row.worst_page, row.worst_page_visual = worst + 1, pairs[worst]


def run_one(path, arguments, profile, timer, scratch, keep):
    name = os.path.basename(path)
    stem = os.path.splitext(name)[0]
    folder = keep or scratch
    pdf_libreoffice = os.path.join(folder, f"{stem}.libreoffice.pdf")
    pdf_ours = os.path.join(folder, f"{stem}.ours.pdf")
    for stale in (pdf_libreoffice, pdf_ours):
        if os.path.exists(stale):
            os.remove(stale)

    if arguments.fresh_profile:
        profile = libreoffice.Profile()
    lo = libreoffice.convert(path, pdf_libreoffice, profile, arguments.timeout,
                             comments=not arguments.no_comments)
    if arguments.fresh_profile:
        profile.remove()
    if lo.ok and compare.only_blank_pages(pdf_libreoffice):
        # The spreadsheet program refuses to print a workbook with nothing on it; a blank
        # page is no conversion to measure against.
        lo.ok, lo.note = False, "nothing to print (LibreOffice gives blank pages)"
    row = Row(name, False, "not run", lo.ok, lo.note, seconds_libreoffice=lo.seconds)
    if lo.ok:
        row.pages_libreoffice = compare.page_count(pdf_libreoffice)
    if arguments.libreoffice_only:
        return row

    postscript = os.path.join(keep, f"{stem}.ours.ps") if keep else None
    mine = ours.convert(arguments.converter, path, pdf_ours, timer, arguments.timeout, postscript)
    row.ours_ok, row.ours_note = mine.ok, mine.note
    row.seconds_ours, row.seconds_gs = mine.seconds, mine.gs_seconds
    if mine.ok:
        row.pages_ours = compare.page_count(pdf_ours)
    if row.compared:
        score(row, pdf_ours, pdf_libreoffice, arguments.dpi, max(arguments.words, TABLE_WORDS))
    if keep and arguments.one:
        pages = compare.write_side_by_side_pages(pdf_ours if mine.ok else None,
                                                 pdf_libreoffice if lo.ok else None, keep)
        print(f"{len(pages)} side-by-side pages (ours left, LibreOffice right) in {keep}")
        if row.page_visual:
            print(f"visual score of each page pair: {row.page_visual}")
    if not keep:
        for pdf in (pdf_libreoffice, pdf_ours):
            if os.path.exists(pdf):
                os.remove(pdf)
    return row


def fmt(value, pattern="{:.3f}", missing="-"):
    return missing if value is None else pattern.format(value)


HEADER = (f"{'workbook':<44} {'pages':>11} {'agree':>5} {'textF1':>6} {'visual':>6} "
          f"{'ours s':>7} {'LO s':>7} {'gs s':>6}  note")


def pages(row):
    return f"{fmt(row.pages_ours, '{}')}/{fmt(row.pages_libreoffice, '{}')}"


def notes(row):
    parts = [f"ours: {row.ours_note}" if row.ours_note and row.ours_note != "not run" else "",
             f"LO: {row.libreoffice_note}" if row.libreoffice_note else ""]
    return "; ".join(part for part in parts if part)


def line(row):
    agree = "-" if row.pages_agree is None else ("yes" if row.pages_agree else "NO")
    return (f"{row.workbook[:44]:<44} {pages(row):>11} {agree:>5} {fmt(row.text_f1):>6} "
            f"{fmt(row.visual):>6} {fmt(row.seconds_ours, '{:.2f}'):>7} "
            f"{fmt(row.seconds_libreoffice, '{:.2f}'):>7} {fmt(row.seconds_gs, '{:.2f}'):>6}  "
            + notes(row))


def word_lines(row):
    """The words only one side printed, most over-represented first, as two indented lines."""
    return [f"    only ours: {row.words_only_ours or '-'}",
            f"    only LibreOffice: {row.words_only_libreoffice or '-'}"]


def median(values):
    values = [v for v in values if v is not None]
    return statistics.median(values) if values else None


def summary(rows):
    """The closing lines: agreement, medians, speed and totals."""
    compared = [r for r in rows if r.compared]
    agreeing = sum(1 for r in compared if r.pages_agree)
    total = len(rows)
    both = len(compared)
    lines = [f"page counts agree: {agreeing}/{total} ({100.0 * agreeing / total if total else 0:.1f}%);"
             f" of the {both} converted by both: {100.0 * agreeing / both if both else 0:.1f}%"]
    failed_ours = [r.workbook for r in rows
                   if r.libreoffice_ok and not r.ours_ok and r.ours_note != "not run"]
    unread = [r.workbook for r in rows if not r.libreoffice_ok]
    lines.append(f"failed in ours but converted by LibreOffice: {len(failed_ours)}"
                 + (f" ({', '.join(failed_ours)})" if failed_ours else ""))
    if unread:
        lines.append(f"not converted by LibreOffice: {len(unread)} ({', '.join(unread)})")
    lines.append(f"median text F1: {fmt(median(r.text_f1 for r in compared))}")
    lines.append(f"median visual score: {fmt(median(r.visual for r in compared))}")
    ratios = [r.seconds_libreoffice / r.seconds_ours for r in compared if r.seconds_ours]
    lines.append(f"speed: median LibreOffice seconds / ours: {fmt(median(ratios), '{:.1f}x')}")
    seconds_ours = sum(r.seconds_ours or 0 for r in rows)
    seconds_lo = sum(r.seconds_libreoffice or 0 for r in rows)
    gs = [r.seconds_gs for r in rows if r.ours_ok]
    gs_known = gs and all(s is not None for s in gs)
    gs_total = sum(gs) if gs_known else None
    ok_seconds = sum(r.seconds_ours for r in rows if r.ours_ok)
    lines.append(f"total seconds: ours {seconds_ours:.1f}, LibreOffice {seconds_lo:.1f}, "
                 f"Ghostscript inside ours {fmt(gs_total, '{:.1f}', 'not measured')}"
                 + (f" (ours / Ghostscript alone over the workbooks ours converted: "
                    f"{ok_seconds / gs_total:.2f})" if gs_total else ""))
    return lines


def write_table(rows, path):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    fields = list(Row.__dataclass_fields__)
    with open(path, "w") as stream:
        stream.write("\t".join(fields) + "\n")
        for row in rows:
            values = asdict(row)
            stream.write("\t".join("" if values[f] is None else str(values[f]).replace("\t", " ")
                                   for f in fields) + "\n")
    with open(os.path.splitext(path)[0] + ".json", "w") as stream:
        json.dump([asdict(r) for r in rows], stream, indent=1)


def markdown_cell(text):
    return str(text).replace("|", "\\|")


def write_markdown(rows, closing, command, path):
    lines = [f"Made by `{command}`.", "",
             "| workbook | pages ours/LO | agree | text F1 | visual | ours s | LO s | gs s | note |",
             "| --- | ---: | :---: | ---: | ---: | ---: | ---: | ---: | --- |"]
    for row in rows:
        agree = "" if row.pages_agree is None else ("yes" if row.pages_agree else "**no**")
        lines.append(f"| {row.workbook} | {pages(row)} | {agree} | {fmt(row.text_f1)} | {fmt(row.visual)} "
                     f"| {fmt(row.seconds_ours, '{:.2f}')} | {fmt(row.seconds_libreoffice, '{:.2f}')} "
                     f"| {fmt(row.seconds_gs, '{:.2f}')} | {markdown_cell(notes(row))} |")
    lines += ["", *(f"- {text}" for text in closing)]
    with open(path, "w") as stream:
        stream.write("\n".join(lines) + "\n")


def prepare_keep(arguments):
    keep = arguments.keep
    if arguments.one and not keep:
        keep = os.path.join(REPOSITORY, "build", "fidelity", "view")
    if keep:
        keep = os.path.abspath(keep)
        os.makedirs(keep, exist_ok=True)
    return keep


def ghostscript_timer(arguments, scratch):
    if arguments.libreoffice_only:
        return None
    program_folder = os.path.dirname(os.path.abspath(arguments.converter))
    return ours.GhostscriptTimer(scratch, ours.base_store_text(program_folder))


def main(argv=None):
    arguments = parse_arguments(argv)
    if not arguments.libreoffice_only and not os.access(arguments.converter, os.X_OK):
        sys.exit(f"{arguments.converter} is not there; build it, or pass --converter, "
                 "or use --libreoffice-only")
    paths = workbooks(arguments)
    if not paths:
        sys.exit(f"no .xls workbooks in {arguments.folder}")
    keep = prepare_keep(arguments)
    profile = libreoffice.Profile()
    rows = []
    with tempfile.TemporaryDirectory(prefix="kx-bench-") as scratch:
        try:
            libreoffice.warm_up(profile)
            timer = ghostscript_timer(arguments, scratch)
            print(HEADER, flush=True)
            for path in paths:
                rows.append(run_one(path, arguments, profile, timer, scratch, keep))
                print(line(rows[-1]), flush=True)
                if arguments.words and rows[-1].compared:
                    print("\n".join(word_lines(rows[-1])), flush=True)
        finally:
            profile.remove()
    write_table(rows, arguments.table)
    print(f"per-workbook table: {arguments.table}")
    closing = summary(rows)
    for text in closing:
        print(text)
    if arguments.markdown:
        command = " ".join(["bench/fidelity/run", *(argv if argv is not None else sys.argv[1:])])
        write_markdown(rows, closing, command, arguments.markdown)


if __name__ == "__main__":
    main()
