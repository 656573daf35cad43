"""Tests of the bulk bench: python3 -m unittest discover -s bench/bulk"""

import io
import os
import tempfile
import unittest

import bulk


class Messages(unittest.TestCase):
    def test_what_differs_between_workbooks_is_taken_out(self):
        message = ('Cannot open /data/a b.xls: the file is damaged (record 0x0203 at offset 1234: '
                   'the sheet "Sales" is cut). (error 1008)')
        self.assertEqual(bulk.general_message(message, "/data/a b.xls"),
                         'Cannot open FILE: the file is damaged (record 0x0203 at offset N: '
                         'the sheet "…" is cut). (error 1008)')
        self.assertEqual(bulk.general_message("x.xls: picture 11 of the workbook's 12 cannot be drawn", "x.xls"),
                         "FILE: picture N of the workbook's N cannot be drawn")
        for versions in ("it was saved in the Excel 5.0/95 format; save it as an Excel 97-2003 workbook",
                         "it is an Excel 2007 or later workbook (.xlsx)"):
            self.assertEqual(bulk.general_message(versions, "x.xls"), versions)

    def test_outcomes_of_exit_statuses(self):
        with tempfile.TemporaryDirectory() as folder:
            pdf = os.path.join(folder, "out.pdf")
            lines = ["korvendal-xl-convert: warning: in.xls: record 0x0208 at offset 4: a row",
                     "korvendal-xl-convert: Cannot open in.xls: it is protected by a password."]
            self.assertEqual(bulk.outcome_of(1 << 8, pdf, lines, "in.xls"),
                             ("refused", "Cannot open FILE: it is protected by a password."))
            self.assertEqual(bulk.outcome_of(0, pdf, [], "in.xls"), ("exit 0 without a PDF", ""))
            with open(pdf, "w") as stream:
                stream.write("%PDF")
            self.assertEqual(bulk.outcome_of(0, pdf, lines[:1], "in.xls"), ("converted", ""))
            self.assertEqual(bulk.outcome_of(11, pdf, [], "in.xls"), ("crashed", "SIGSEGV"))


class Report(unittest.TestCase):
    def test_counts_per_outcome_message_and_warning(self):
        runs = [bulk.Run("a.xls", "converted", seconds=2.0, memory_kb=2048, pages=3, warnings=["w"]),
                bulk.Run("b.xls", "converted", seconds=1.0, memory_kb=4096, pages=1),
                bulk.Run("c.xls", "refused", "password", seconds=0.1, memory_kb=1024, warnings=["w"])]
        out = io.StringIO()
        bulk.report(runs, out)
        lines = out.getvalue().splitlines()
        converted = next(line for line in lines if line.startswith("converted"))
        self.assertIn(" 2 ", converted)
        self.assertIn("2.00 s a.xls", converted)
        self.assertIn("4.0 MB b.xls", converted)
        self.assertTrue(any(line.startswith("refused: password") for line in lines))
        self.assertTrue(any(line.startswith("w ") and " 2 " in line for line in lines))
        self.assertEqual(lines[-1], "3 workbooks, 4 pages, 3.1 s in all")


if __name__ == "__main__":
    unittest.main()
