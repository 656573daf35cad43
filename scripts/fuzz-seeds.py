#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets.

usage: fuzz-seeds.py CORPUS_DIR CODES_FILE OUT_DIR

OUT_DIR/workbook_reader gets links to the corpus workbooks, good and bad, up to MAX_SEED_BYTES: larger
ones slow every execution while adding little that the smaller ones do not reach.
OUT_DIR/number_format gets one input per format code ("<value> <width> <1904 flag>" on the first
line, then the code): the codes listed in CODES_FILE and those stored in the FORMAT records of the
corpus workbooks, found by a plain byte scan (a record cut by a sector boundary is just missed).
"""
import hashlib
import os
import struct
import sys
from pathlib import Path

FORMAT_RECORD = 0x041E
MAX_SEED_BYTES = 256 * 1024
VALUES = ["1234.5678", "-45000.75", "0", "0.000123", "1e300", "-0.5"]


def workbooks(corpus):
    return sorted(p for p in corpus.rglob("*") if p.is_file() and p.suffix.lower() == ".xls")


def format_codes(data):
    """Format codes of BIFF8 FORMAT records: id, 16-bit length, option byte, characters."""
    codes = set()
    start = 0
    marker = struct.pack("<H", FORMAT_RECORD)
    while (at := data.find(marker, start)) >= 0:
        start = at + 1
        header = data[at + 2:at + 9]
        if len(header) < 7:
            break
        size, _, chars, options = struct.unpack("<HHHB", header)
        if options not in (0, 1) or size != 5 + chars * (options + 1) or chars == 0:
            continue
        raw = data[at + 9:at + 9 + chars * (options + 1)]
        codes.add(raw.decode("utf-16-le" if options else "latin-1", errors="replace"))
    return codes


def main():
    corpus, codes_file, out = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
    reader_dir, format_dir = out / "workbook_reader", out / "number_format"
    reader_dir.mkdir(parents=True, exist_ok=True)
    format_dir.mkdir(parents=True, exist_ok=True)
    codes = {line for line in codes_file.read_text(encoding="utf-8").splitlines() if line}
    for workbook in workbooks(corpus):
        link = reader_dir / f"{workbook.parent.name}-{workbook.name}"
        if not link.exists() and workbook.stat().st_size <= MAX_SEED_BYTES:
            os.symlink(workbook.resolve(), link)
        codes |= format_codes(workbook.read_bytes())
    for index, code in enumerate(sorted(codes)):
        text = f"{VALUES[index % len(VALUES)]} 11 {index % 2}\n{code}".encode("utf-8")
        (format_dir / hashlib.sha1(text).hexdigest()).write_bytes(text)
    print(f"seeds: {len(list(reader_dir.iterdir()))} workbooks, {len(codes)} format codes")


if __name__ == "__main__":
    main()
