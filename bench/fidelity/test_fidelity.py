"""Tests of the bench itself: /usr/bin/python3 -m unittest discover -s bench/fidelity

The LibreOffice cases start soffice and take a few seconds each; they are skipped when
python3-uno is missing."""

import os
import shutil
import subprocess
import tempfile
import textwrap
import unittest
import unittest.mock
from collections import Counter

import compare
import fidelity
import ours

try:
    import libreoffice
except ImportError:
    libreoffice = None

CORPUS = fidelity.default_corpus()


def make_pdf(folder, name, pages):
    """A PDF whose pages show the given lines of text (a list of lists), made by Ghostscript."""
    body = []
    for lines in pages:
        for index, text in enumerate(lines):
            body.append(f"72 {700 - 20 * index} moveto ({text}) show")
        body.append("showpage")
    source = os.path.join(folder, name + ".ps")
    with open(source, "w") as stream:
        stream.write("%!PS\n/Helvetica findfont 14 scalefont setfont\n" + "\n".join(body) + "\n")
    target = os.path.join(folder, name + ".pdf")
    subprocess.run(["gs", "-q", "-dSAFER", "-dNOPAUSE", "-dBATCH", "-sDEVICE=pdfwrite",
                    "-sPAPERSIZE=a4", f"-sOutputFile={target}", source], check=True)
    return target


def grey(width, height, dark=()):
    """A white image with the given (x, y) pixels black."""
    pixels = bytearray(b"\xff" * (width * height))
    for x, y in dark:
        pixels[y * width + x] = 0
    return compare.GreyImage(width, height, bytes(pixels))


class TextAgreement(unittest.TestCase):
    def test_counts_matter_not_order(self):
        self.assertEqual(compare.word_f1(Counter("a b c".split()), Counter("c b a".split())), 1.0)
        # a word printed twice by one side and once by the other is half a miss
        self.assertAlmostEqual(compare.word_f1(Counter("a a b".split()), Counter("a b".split())), 0.8)
        self.assertEqual(compare.word_f1(Counter("a b".split()), Counter("c d".split())), 0.0)

    def test_empty_sides(self):
        self.assertEqual(compare.word_f1(Counter(), Counter()), 1.0)
        self.assertEqual(compare.word_f1(Counter(["a"]), Counter()), 0.0)

    def test_differences_name_the_extra_words_of_each_side(self):
        only_ours, only_theirs = compare.word_differences(
            Counter("Page 1 Page 2 total".split()), Counter("total Sheet1".split()))
        self.assertEqual(dict(only_ours), {"Page": 2, "1": 1, "2": 1})
        self.assertEqual(dict(only_theirs), {"Sheet1": 1})


class PageSimilarity(unittest.TestCase):
    def test_equal_and_blank_pages(self):
        page = grey(20, 20, [(3, 3), (10, 12)])
        self.assertEqual(compare.page_similarity(page, page), 1.0)
        self.assertEqual(compare.page_similarity(grey(20, 20), grey(20, 20)), 1.0)
        self.assertEqual(compare.page_similarity(page, grey(20, 20)), 0.0)

    def test_near_shifts_are_forgiven_in_part_and_far_ones_not(self):
        base = grey(32, 32, [(4, 4)])
        self.assertEqual(compare.page_similarity(base, grey(32, 32, [(5, 5)])), 1.0)  # same block
        next_block = compare.page_similarity(base, grey(32, 32, [(8, 4)]))
        self.assertAlmostEqual(next_block, 6 / 12)  # 3x3 neighbourhoods sharing two columns
        self.assertEqual(compare.page_similarity(base, grey(32, 32, [(28, 28)])), 0.0)

    def test_pages_of_different_size_meet_top_left(self):
        portrait = grey(10, 14, [(1, 1)])
        landscape = grey(14, 10, [(1, 1)])
        self.assertEqual(compare.page_similarity(portrait, landscape), 1.0)
        self.assertEqual(compare.page_similarity(grey(20, 20, [(1, 1)]), grey(14, 10, [(13, 9)])), 0.0)

    def test_partial_overlap_is_between(self):
        score = compare.page_similarity(grey(8, 8, [(0, 0), (0, 1)]), grey(8, 8, [(0, 0)]))
        self.assertAlmostEqual(score, 0.5)


class PgmReading(unittest.TestCase):
    def test_header_comments_and_short_raster(self):
        with tempfile.TemporaryDirectory() as folder:
            good = os.path.join(folder, "good.pgm")
            with open(good, "wb") as stream:
                stream.write(b"P5\n# made by hand\n3 2\n255\n" + bytes([0, 1, 2, 3, 4, 32]))
            image = compare.read_pgm(good)
            self.assertEqual((image.width, image.height), (3, 2))
            self.assertEqual(image.row(1), bytes([3, 4, 32]))  # 32 is a space: raster, not header
            short = os.path.join(folder, "short.pgm")
            with open(short, "wb") as stream:
                stream.write(b"P5 3 2 255\n" + bytes(5))
            with self.assertRaises(ValueError):
                compare.read_pgm(short)


class PdfScores(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.mkdtemp()
        cls.one = make_pdf(cls.folder, "one", [["Total 12 apples", "Sheet1"]])
        cls.two = make_pdf(cls.folder, "two", [["Total 12 apples", "Sheet1"], ["Page 2"]])
        cls.other = make_pdf(cls.folder, "other", [[], ["Total 12 apples", "Sheet1"]])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.folder)

    def test_pages_and_words(self):
        self.assertEqual(compare.page_count(self.two), 2)
        self.assertIsNone(compare.page_count(os.path.join(self.folder, "one.ps")))
        self.assertEqual(compare.pdf_words(self.two), Counter("Total 12 apples Sheet1 Page 2".split()))
        self.assertEqual(compare.pages_without_text(self.other), 1)
        self.assertEqual(compare.pages_without_text(self.two), 0)

    def test_blank_pdf_is_told_from_one_with_text(self):
        blank = make_pdf(self.folder, "blank", [[], []])
        self.assertTrue(compare.only_blank_pages(blank))
        self.assertFalse(compare.only_blank_pages(self.other))  # a blank page, then text

    def test_visual_score_counts_missing_pages_as_zero(self):
        self.assertEqual(compare.visual_score(self.one, self.one), 1.0)
        pairs = []
        self.assertAlmostEqual(compare.visual_score(self.two, self.one, pair_scores=pairs), 0.5)
        self.assertEqual(pairs, [1.0])
        # the same text one page later matches nothing on the pages paired
        self.assertEqual(compare.visual_score(self.one, self.other), 0.0)

    def test_words_option_names_that_many_differing_words_of_each_side(self):
        self.assertEqual(fidelity.parse_arguments(["--words", "3"]).words, 3)
        self.assertEqual(fidelity.parse_arguments([]).words, 0)
        ours = make_pdf(self.folder, "ours", [["Total 12 apples apples", "Sheet1 Page 1"]])
        row = fidelity.Row("a.xls", True, "", True, "")
        fidelity.score(row, ours, self.two, dpi=12, words=1)
        self.assertEqual(row.words_only_ours, "applesx1")  # "1" ties with it but comes later
        self.assertEqual(row.words_only_libreoffice, "2x1")
        self.assertEqual(fidelity.word_lines(row), ["    only ours: applesx1", "    only LibreOffice: 2x1"])
        fidelity.score(row, self.one, self.one, dpi=12, words=5)
        self.assertEqual(fidelity.word_lines(row), ["    only ours: -", "    only LibreOffice: -"])

    def test_side_by_side_pages_for_viewing(self):
        with tempfile.TemporaryDirectory() as view:
            open(os.path.join(view, "page-003.png"), "w").close()  # from an earlier workbook
            written = compare.write_side_by_side_pages(self.two, self.one, view, dpi=20)
            self.assertEqual(sorted(os.listdir(view)), ["page-001.png", "page-002.png"])
            self.assertEqual([os.path.basename(p) for p in written], ["page-001.png", "page-002.png"])
            with open(written[0], "rb") as stream:
                self.assertEqual(stream.read(8), b"\x89PNG\r\n\x1a\n")


class MachineStore(unittest.TestCase):
    STORE = textwrap.dedent("""\
        Windows Registry Editor Version 5.00

        [HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]
        "GSPath"="/usr/bin/gs"

        [HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Korvendal]
        "Name"="Korvendal"
        """)

    def test_gs_path_replaced_and_everything_else_kept(self):
        text = ours.store_with_gs_path(self.STORE, "/tmp/a b\\c")
        self.assertIn('"GSPath"="/tmp/a b\\\\c"', text)
        self.assertNotIn("/usr/bin/gs", text)
        self.assertIn('"Name"="Korvendal"', text)

    def test_gs_key_added_when_missing(self):
        text = ours.store_with_gs_path("Windows Registry Editor Version 5.00\n", "/x/gs")
        self.assertTrue(text.endswith('[HKEY_LOCAL_MACHINE\\SOFTWARE\\GS]\n"GSPath"="/x/gs"\n'))

    def test_a_fresh_build_gets_a_store_naming_its_folder_and_the_printer(self):
        with tempfile.TemporaryDirectory() as folder, unittest.mock.patch.object(
                ours, "find_machine_store", return_value=None):
            text = ours.store_with_gs_path(ours.base_store_text(folder), "/x/gs")
        self.assertIn(f'"Path"="{folder}"', text)
        self.assertIn("Printers\\Korvendal]", text)
        self.assertIn('"GSPath"="/x/gs"', text)


FAKE_CONVERTER = """#!/bin/sh
# Stands in for korvendal-xl-convert: runs the GSPath of the store on a tiny PostScript.
eval "last=\\${$#}"
case "$last" in
  *fail*) echo "cannot read the workbook" >&2; exit 3 ;;
  *silent*) exit 0 ;;
esac
gs=$(sed -n 's/^"GSPath"="\\(.*\\)"$/\\1/p' "$KORVENDAL_MACHINE_STORE")
ps=$(mktemp --suffix=.ps)
echo '%!PS' > "$ps"; echo 'showpage' >> "$ps"
"$gs" -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=pdfwrite -sOutputFile="$last" "$ps"
rm -f "$ps"
"""


class OurConverterRun(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.converter = os.path.join(self.folder, "convert")
        with open(self.converter, "w") as stream:
            stream.write(FAKE_CONVERTER)
        os.chmod(self.converter, 0o755)
        self.timer = ours.GhostscriptTimer(self.folder, MachineStore.STORE)

    def tearDown(self):
        shutil.rmtree(self.folder)

    def test_ghostscript_time_measured_and_postscript_kept(self):
        kept = os.path.join(self.folder, "kept.ps")
        outcome = ours.convert(self.converter, "in.xls", os.path.join(self.folder, "out.pdf"),
                               self.timer, keep_postscript=kept)
        self.assertTrue(outcome.ok, outcome.note)
        self.assertGreater(outcome.gs_seconds, 0)
        self.assertLessEqual(outcome.gs_seconds, outcome.seconds)
        self.assertTrue(os.path.isfile(kept))
        # the log starts afresh for every workbook
        again = ours.convert(self.converter, "in.xls", os.path.join(self.folder, "out2.pdf"), self.timer)
        self.assertLess(again.gs_seconds, 2 * outcome.gs_seconds + 1)

    def test_shell_wrapper_serves_where_no_compiler_is(self):
        with unittest.mock.patch.object(ours, "compile_wrapper", return_value=False):
            timer = ours.GhostscriptTimer(self.folder, MachineStore.STORE)
        with open(os.path.join(self.folder, "gs-timed")) as stream:
            self.assertTrue(stream.read().startswith("#!/bin/sh"))
        kept = os.path.join(self.folder, "kept-by-shell.ps")
        outcome = ours.convert(self.converter, "in.xls", os.path.join(self.folder, "out.pdf"), timer,
                               keep_postscript=kept)
        self.assertTrue(outcome.ok, outcome.note)
        self.assertGreater(outcome.gs_seconds, 0)
        self.assertTrue(os.path.isfile(kept))

    def test_failures_are_not_taken_for_success(self):
        failed = ours.convert(self.converter, "in.xls", os.path.join(self.folder, "fail.pdf"), self.timer)
        self.assertFalse(failed.ok)
        self.assertEqual(failed.note, "exit 3: cannot read the workbook")
        silent = ours.convert(self.converter, "in.xls", os.path.join(self.folder, "silent.pdf"), self.timer)
        self.assertFalse(silent.ok)
        self.assertIn("no PDF", silent.note)
        missing = ours.convert(os.path.join(self.folder, "nothing"), "in.xls", "out.pdf")
        self.assertFalse(missing.ok)


class Summary(unittest.TestCase):
    def test_totals_count_every_workbook_and_name_our_failures(self):
        rows = [fidelity.Row("a.xls", True, "", True, "", pages_agree=True, text_f1=1.0, visual=0.9,
                             seconds_ours=0.1, seconds_libreoffice=2.0, seconds_gs=0.08),
                fidelity.Row("b.xls", True, "", True, "", pages_agree=False, text_f1=0.5, visual=0.3,
                             seconds_ours=0.2, seconds_libreoffice=2.0, seconds_gs=0.1),
                fidelity.Row("c.xls", False, "exit 1", True, "", seconds_ours=0.05,
                             seconds_libreoffice=1.0),
                fidelity.Row("d.xls", False, "exit 1", False, "not read as a workbook",
                             seconds_ours=0.05, seconds_libreoffice=1.0)]
        text = "\n".join(fidelity.summary(rows))
        self.assertIn("page counts agree: 1/4 (25.0%); of the 2 converted by both: 50.0%", text)
        self.assertIn("failed in ours but converted by LibreOffice: 1 (c.xls)", text)
        self.assertIn("not converted by LibreOffice: 1 (d.xls)", text)
        self.assertIn("median text F1: 0.750", text)
        self.assertIn("median LibreOffice seconds / ours: 15.0x", text)
        self.assertIn("Ghostscript inside ours 0.2", text)


@unittest.skipIf(libreoffice is None, "python3-uno is not installed")
class LibreOfficeConversion(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.profile = libreoffice.Profile()
        cls.folder = tempfile.mkdtemp()

    @classmethod
    def tearDownClass(cls):
        cls.profile.remove()
        shutil.rmtree(cls.folder)

    def test_bytes_typeset_as_text_are_not_a_conversion(self):
        source = os.path.join(self.folder, "table.xls")
        with open(source, "w") as stream:
            stream.write("name;amount\napples;12\n")
        outcome = libreoffice.convert(source, os.path.join(self.folder, "table.pdf"), self.profile)
        self.assertFalse(outcome.ok)
        self.assertIn("not read as a workbook", outcome.note)
        empty = os.path.join(self.folder, "empty.xls")
        open(empty, "w").close()
        self.assertFalse(libreoffice.convert(empty, os.path.join(self.folder, "e.pdf"), self.profile).ok)

    @unittest.skipUnless(os.path.isfile(os.path.join(CORPUS, "poi-15228.xls")), "corpus not found")
    def test_first_sheet_set_up_leaves_the_other_sheets_alone(self):
        office = libreoffice.Office(self.profile)
        office.connect()
        document = office.open(os.path.join(CORPUS, "poi-15228.xls"))
        try:
            sheets = document.Sheets
            styles = document.StyleFamilies.getByName("PageStyles")
            before = [(sheets.getByIndex(i).PageStyle,
                       styles.getByName(sheets.getByIndex(i).PageStyle).PageScale,
                       styles.getByName(sheets.getByIndex(i).PageStyle).PrintGrid)
                      for i in range(1, sheets.Count)]
            shared = sheets.getByIndex(0).PageStyle
            libreoffice.apply_first_sheet_setup(document)
            first = styles.getByName(sheets.getByIndex(0).PageStyle)
            self.assertNotEqual(first.Name, shared)
            self.assertEqual((first.PageScale, first.ScaleToPagesX, first.ScaleToPagesY), (100, 0, 0))
            self.assertTrue(first.PrintGrid)
            self.assertFalse(first.PrintHeaders or first.IsLandscape)
            self.assertAlmostEqual(first.Size.Width, 21000, delta=2)  # LibreOffice rounds
            self.assertAlmostEqual(first.Size.Height, 29700, delta=2)
            self.assertTrue(sheets.getByIndex(0).AutomaticPrintArea)
            after = [(sheets.getByIndex(i).PageStyle,
                      styles.getByName(sheets.getByIndex(i).PageStyle).PageScale,
                      styles.getByName(sheets.getByIndex(i).PageStyle).PrintGrid)
                     for i in range(1, sheets.Count)]
            self.assertEqual(before, after)
        finally:
            document.close(True)
            office.quit()


if __name__ == "__main__":
    unittest.main()
