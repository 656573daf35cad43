"""Scores that say how far two PDFs of the same workbook agree.

Text: the words of each PDF (pdftotext, split at white space) compared as multisets;
F1 is twice the shared words over the sum of both counts, so 1 means the same words, each
as often, whatever the page they sit on.

Visual: every page rendered in grey at a low resolution (24 dpi); on each page pair the
ink (255 less the grey level) is summed over square blocks of 4 pixels (about 4 mm; at
another resolution, blocks of the same size on paper), and
each block then over itself and its eight neighbours, so that a line moved by up to a
block still meets itself. The page score is the sum of the smaller smoothed ink over the
sum of the larger one (weighted Jaccard: 1 for equal pages, 0 when no ink comes near;
two blank pages count 1). Pages are paired in order; a page that only one side has
scores 0, and the workbook score is the mean over the longer side.
"""

import glob
import os
import re
import struct
import subprocess
import tempfile
import zlib
from collections import Counter
from dataclasses import dataclass

VISUAL_DPI = 24
BLOCK_PIXELS = 4


def page_count(pdf):
    """Pages of a PDF by pdfinfo, or None when it cannot be read."""
    result = subprocess.run(["pdfinfo", pdf], capture_output=True, text=True, errors="replace")
    match = re.search(r"^Pages:\s+(\d+)", result.stdout, re.MULTILINE)
    return int(match.group(1)) if result.returncode == 0 and match else None


def pdf_page_texts(pdf):
    """The text of each page (pdftotext ends every page with a form feed)."""
    result = subprocess.run(["pdftotext", "-q", "-enc", "UTF-8", pdf, "-"],
                            capture_output=True, text=True, errors="replace")
    return result.stdout.split("\f")[:-1]


def pdf_words(pdf):
    return Counter(" ".join(pdf_page_texts(pdf)).split())


def pages_without_text(pdf):
    return sum(1 for text in pdf_page_texts(pdf) if not text.split())


def word_f1(ours, theirs):
    """F1 of two word multisets (Counters)."""
    total = sum(ours.values()) + sum(theirs.values())
    if total == 0:
        return 1.0
    shared = sum((ours & theirs).values())
    return 2.0 * shared / total


def word_differences(ours, theirs, limit=8):
    """The words most over-represented on each side, for a reader looking for causes."""
    only_ours = (ours - theirs).most_common(limit)
    only_theirs = (theirs - ours).most_common(limit)
    return only_ours, only_theirs


@dataclass
class GreyImage:
    width: int
    height: int
    pixels: bytes  # row by row, one byte a pixel, 0 black, 255 white

    def row(self, y):
        return self.pixels[y * self.width:(y + 1) * self.width]


def read_pgm(path):
    """Reads a binary 8-bit PGM (P5), as pdftoppm -gray writes it."""
    with open(path, "rb") as stream:
        data = stream.read()
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    magic, width, height, maximum = fields[0], int(fields[1]), int(fields[2]), int(fields[3])
    if magic != b"P5" or maximum != 255:
        raise ValueError(f"{path}: not an 8-bit binary PGM")
    position += 1  # the single white-space byte before the raster
    pixels = data[position:position + width * height]
    if len(pixels) != width * height:
        raise ValueError(f"{path}: raster shorter than {width}x{height}")
    return GreyImage(width, height, pixels)


def render_pages(pdf, folder, dpi=VISUAL_DPI, prefix="page"):
    """Renders every page of a PDF as grey PGM files, in page order."""
    stem = os.path.join(folder, prefix)
    subprocess.run(["pdftoppm", "-q", "-r", str(dpi), "-gray", pdf, stem],
                   check=False, capture_output=True)
    # pdftoppm pads page numbers to the width of the last one, so sort by the number.
    paths = glob.glob(glob.escape(stem) + "-*.pgm")
    return sorted(paths, key=lambda p: int(re.search(r"-(\d+)\.pgm$", p).group(1)))


def block_ink(image, width, height, block=BLOCK_PIXELS):
    """Ink summed over blocks, for an image seen on a width x height white canvas."""
    columns = (width + block - 1) // block
    rows = (height + block - 1) // block
    sums = [0] * (columns * rows)
    for y in range(min(image.height, height)):
        line = image.row(y)
        base = (y // block) * columns
        for column in range(columns):
            piece = line[column * block:(column + 1) * block]
            if piece:
                sums[base + column] += 255 * len(piece) - sum(piece)
    return sums


def smooth(sums, columns):
    """Each block plus its eight neighbours (a 3x3 box sum)."""
    rows = len(sums) // columns
    across = []
    for r in range(rows):
        line = sums[r * columns:(r + 1) * columns]
        padded = [0] + line + [0]
        across.extend(padded[c] + padded[c + 1] + padded[c + 2] for c in range(columns))
    result = []
    for r in range(rows):
        above = across[(r - 1) * columns:r * columns] if r > 0 else [0] * columns
        below = across[(r + 1) * columns:(r + 2) * columns] if r + 1 < rows else [0] * columns
        result.extend(map(sum, zip(above, across[r * columns:(r + 1) * columns], below)))
    return result


def block_pixels(dpi):
    """Pixels a side of a block at dpi, so that a block covers the same paper at any resolution."""
    return max(1, round(BLOCK_PIXELS * dpi / VISUAL_DPI))


def page_similarity(first, second, block=BLOCK_PIXELS):
    """Weighted Jaccard of smoothed block ink in [0, 1]; pages of different size meet top left."""
    width = max(first.width, second.width)
    height = max(first.height, second.height)
    columns = (width + block - 1) // block
    a = smooth(block_ink(first, width, height, block), columns)
    b = smooth(block_ink(second, width, height, block), columns)
    larger = sum(map(max, a, b))
    if larger == 0:
        return 1.0
    return sum(map(min, a, b)) / larger


def only_blank_pages(pdf, dpi=12):
    """True when no page of the PDF carries any ink or text."""
    if sum(pdf_words(pdf).values()):
        return False
    with tempfile.TemporaryDirectory(prefix="kx-bench-blank-") as folder:
        return all(min(read_pgm(path).pixels, default=255) == 255
                   for path in render_pages(pdf, folder, dpi))


def visual_score(pdf_ours, pdf_theirs, dpi=VISUAL_DPI, pair_scores=None):
    """Mean page similarity over the longer PDF; pages without a partner score 0.

    When pair_scores is a list, the score of each compared page pair is appended to it."""
    with tempfile.TemporaryDirectory(prefix="kx-bench-pages-") as folder:
        ours = render_pages(pdf_ours, folder, dpi, "ours")
        theirs = render_pages(pdf_theirs, folder, dpi, "theirs")
        longer = max(len(ours), len(theirs))
        if longer == 0:
            return None
        total = 0.0
        for path_a, path_b in zip(ours, theirs):
            score = page_similarity(read_pgm(path_a), read_pgm(path_b), block_pixels(dpi))
            if pair_scores is not None:
                pair_scores.append(score)
            total += score
        return total / longer


def side_by_side(first, second, gap=6, gap_grey=128):
    """Two pages next to each other, divided by a grey bar, as one image."""
    height = max(first.height, second.height)
    width = first.width + gap + second.width
    rows = []
    for y in range(height):
        left = first.row(y) if y < first.height else b""
        right = second.row(y) if y < second.height else b""
        rows.append(left.ljust(first.width, b"\xff") + bytes([gap_grey]) * gap
                    + right.ljust(second.width, b"\xff"))
    return GreyImage(width, height, b"".join(rows))


def write_png(image, path):
    """Writes a grey image as an 8-bit greyscale PNG."""
    def chunk(kind, payload):
        body = kind + payload
        return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))
    raw = b"".join(b"\x00" + image.row(y) for y in range(image.height))
    header = struct.pack(">IIBBBBB", image.width, image.height, 8, 0, 0, 0, 0)
    with open(path, "wb") as stream:
        stream.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                     + chunk(b"IDAT", zlib.compress(raw, 6)) + chunk(b"IEND", b""))


BLANK = GreyImage(1, 1, b"\xff")


def write_side_by_side_pages(pdf_ours, pdf_theirs, folder, dpi=50):
    """page-NNN.png in folder: our page left, the reference page right; returns the paths.

    Pages left in the folder by an earlier workbook are removed first."""
    for stale in glob.glob(os.path.join(glob.escape(folder), "page-*.png")):
        os.remove(stale)
    written = []
    with tempfile.TemporaryDirectory(prefix="kx-bench-view-") as scratch:
        ours = render_pages(pdf_ours, scratch, dpi, "ours") if pdf_ours else []
        theirs = render_pages(pdf_theirs, scratch, dpi, "theirs") if pdf_theirs else []
        for index in range(max(len(ours), len(theirs))):
            left = read_pgm(ours[index]) if index < len(ours) else BLANK
            right = read_pgm(theirs[index]) if index < len(theirs) else BLANK
            path = os.path.join(folder, f"page-{index + 1:03d}.png")
            write_png(side_by_side(left, right), path)
            written.append(path)
    return written
