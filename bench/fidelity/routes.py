"""Both PDF routes of korvendal-xl-convert on the same workbooks: the direct PDF against the
PDF Ghostscript makes from the PostScript print (--ghostscript). Says per workbook whether the
page counts agree, the word F1 and the visual score of the two PDFs against each other, and
the converter's time on each route; the PostScript-alone time is the Ghostscript route's less
the time Ghostscript took inside it (timed through the bench's gs wrapper).

    /usr/bin/python3 bench/fidelity/routes.py [--converter PATH] [--table FILE.tsv] [--dpi N]... FOLDER...
"""

import argparse
import glob
import os
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import compare  # noqa: E402
import ours  # noqa: E402

REPOSITORY = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))

TIMES = ["direct_s", "gs_route_s", "postscript_s"]


def columns(resolutions):
    return ["workbook", "pages_direct", "pages_gs", "word_f1"] + [f"visual_{dpi}" for dpi in resolutions] + TIMES


def compare_one(path, converter, timer, scratch, resolutions):
    name = os.path.basename(path)
    direct_pdf = os.path.join(scratch, "direct.pdf")
    gs_pdf = os.path.join(scratch, "gs.pdf")
    for pdf in (direct_pdf, gs_pdf):
        if os.path.exists(pdf):
            os.remove(pdf)
    direct = ours.convert(converter, path, direct_pdf, timer=timer)
    routed = ours.convert(converter, path, gs_pdf, timer=timer, options=["--ghostscript"])
    row = {"workbook": name, "direct_s": direct.seconds, "gs_route_s": routed.seconds,
           "postscript_s": routed.seconds - (routed.gs_seconds or 0.0)}
    if direct.ok != routed.ok:
        row["note"] = f"only one route succeeded: direct {direct.note or 'ok'}, ghostscript {routed.note or 'ok'}"
    if not (direct.ok and routed.ok):
        return row
    row.update(pages_direct=compare.page_count(direct_pdf), pages_gs=compare.page_count(gs_pdf),
               word_f1=compare.word_f1(compare.pdf_words(direct_pdf), compare.pdf_words(gs_pdf)))
    for dpi in resolutions:
        row[f"visual_{dpi}"] = compare.visual_score(direct_pdf, gs_pdf, dpi=dpi)
    return row


def cell(value):
    return f"{value:.3f}" if isinstance(value, float) else str(value if value is not None else "-")


def visual_lines(both, resolutions):
    for dpi in resolutions:
        scores = [row[f"visual_{dpi}"] or 1 for row in both]
        yield (f"visual >= 0.99 at {dpi} dpi: {sum(1 for score in scores if score >= 0.99)}; "
               f"lowest {min(scores, default=0):.3f}")


def summary(rows, resolutions):
    both = [row for row in rows if "word_f1" in row]
    seconds = {key: sum(row[key] for row in rows) for key in TIMES}
    lines = [
        f"workbooks: {len(rows)}, converted on both routes: {len(both)}, "
        f"only on one: {sum(1 for row in rows if 'note' in row)}",
        f"page counts agree: {sum(1 for row in both if row['pages_direct'] == row['pages_gs'])} of {len(both)}",
        f"word F1 = 1: {sum(1 for row in both if row['word_f1'] == 1.0)}; lowest {min((row['word_f1'] for row in both), default=0):.3f}",
        *visual_lines(both, resolutions),
        f"converter seconds: direct {seconds['direct_s']:.1f}, ghostscript route {seconds['gs_route_s']:.1f}, "
        f"PostScript alone {seconds['postscript_s']:.1f}; direct / PostScript alone "
        f"{seconds['direct_s'] / max(seconds['postscript_s'], 1e-9):.2f}",
    ]
    return lines


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--converter", default=os.path.join(REPOSITORY, "build", "src", "cli", "korvendal-xl-convert"))
    parser.add_argument("--table", default=None, help="also write the per-workbook table here (TSV)")
    # At the fidelity bench's 24 dpi poppler widens a hairline to a whole pixel, and which pixel
    # depends on the producer's page clip, so one PDF's gridline may land solid and the other's
    # faint: a finer resolution (blocks keep their size on paper) shows what the eye sees.
    parser.add_argument("--dpi", type=int, action="append",
                        help="resolution of a visual score (repeat for several; default 24)")
    parser.add_argument("folders", nargs="*")
    arguments = parser.parse_args(argv)
    resolutions = arguments.dpi or [compare.VISUAL_DPI]
    names = columns(resolutions) + ["note"]
    folders = arguments.folders or [os.path.join(os.path.dirname(REPOSITORY), "shared", "corpus")]
    paths = sorted(path for folder in folders for path in glob.glob(os.path.join(folder, "*.xls")))
    rows = []
    with tempfile.TemporaryDirectory(prefix="kx-bench-routes-") as scratch:
        timer = ours.GhostscriptTimer(scratch, ours.base_store_text(os.path.dirname(arguments.converter)))
        print("\t".join(names), flush=True)
        for path in paths:
            row = compare_one(path, arguments.converter, timer, scratch, resolutions)
            rows.append(row)
            print("\t".join(cell(row.get(key)) for key in names), flush=True)
    if arguments.table:
        with open(arguments.table, "w") as table:
            table.write("\t".join(names) + "\n")
            for row in rows:
                table.write("\t".join(cell(row.get(key)) for key in names) + "\n")
    print("\n".join(summary(rows, resolutions)))


if __name__ == "__main__":
    main()
