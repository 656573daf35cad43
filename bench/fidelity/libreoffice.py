"""Converting a workbook to PDF with LibreOffice, driven through python3-uno.

Each conversion starts its own soffice process and ends it, the way a user's loop over
files would run it; the time of a conversion covers start-up, loading, export and exit.
The first sheet gets the bench's page set-up, applied through the API before export;
the other sheets print with what the workbook stores.
"""

import os
import shutil
import subprocess
import tempfile
import threading
import time
from dataclasses import dataclass

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.awt import Size

# Filters under which LibreOffice reads an .xls file as a workbook: Excel 97-2003, and the
# Excel 5.0/95 and 2.1-4.0 files that ours reads too. Anything else means it guessed another
# format (often plain text) and would typeset raw bytes.
WORKBOOK_FILTERS = {
    f"MS Excel {version}{template}"
    for version in ("97", "95", "5.0/95", "4.0")
    for template in ("", " Vorlage/Template")
} | {"Calc MS Excel 2007 XML"}

A4_PORTRAIT = Size(21000, 29700)  # hundredths of a millimetre

CONNECT_TIMEOUT_SECONDS = 60


@dataclass
class Outcome:
    ok: bool
    seconds: float
    note: str = ""   # why it failed, or how LibreOffice read the file


def _property(name, value):
    prop = PropertyValue()
    prop.Name = name
    prop.Value = value
    return prop


def _file_url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


class Profile:
    """A clean user profile in a temporary folder, removed when done."""

    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="kx-bench-lo-profile-")

    @property
    def url(self):
        return _file_url(self.folder)

    def remove(self):
        shutil.rmtree(self.folder, ignore_errors=True)


class Office:
    """One soffice process, listening on a private pipe, with the given profile."""

    def __init__(self, profile):
        self.pipe = f"kxbench{os.getpid()}_{time.monotonic_ns()}"
        self.process = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--nologo", "--norestore", "--nodefault",
             "--nolockcheck", f"-env:UserInstallation={profile.url}",
             f"--accept=pipe,name={self.pipe};urp;"],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.desktop = None

    def connect(self):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + CONNECT_TIMEOUT_SECONDS
        while True:
            try:
                context = resolver.resolve(
                    f"uno:pipe,name={self.pipe};urp;StarOffice.ComponentContext")
                break
            except Exception:
                if self.process.poll() is not None:
                    raise RuntimeError(f"soffice ended with code {self.process.returncode} at start-up")
                if time.monotonic() > deadline:
                    raise RuntimeError("soffice did not answer within a minute")
                time.sleep(0.05)
        self.desktop = context.ServiceManager.createInstanceWithContext(
            "com.sun.star.frame.Desktop", context)

    def open(self, path):
        return self.desktop.loadComponentFromURL(
            _file_url(path), "_blank", 0,
            # Read-only: no lock file is left beside the workbook; the API may still
            # change the page set-up of the loaded copy.
            (_property("Hidden", True), _property("ReadOnly", True),
             _property("MacroExecutionMode", 0), _property("UpdateDocMode", 0)))

    def quit(self, grace_seconds=20):
        try:
            if self.desktop is not None:
                self.desktop.terminate()
        except Exception:
            pass  # the bridge goes away with the process; that is the normal end
        try:
            self.process.wait(timeout=grace_seconds)
        except subprocess.TimeoutExpired:
            self.kill()

    def kill(self):
        if self.process.poll() is None:
            os.killpg(self.process.pid, 9)
            self.process.wait()


def filter_name(document):
    for arg in document.getArgs():
        if arg.Name == "FilterName":
            return arg.Value
    return ""


def read_as_workbook(document):
    """Whether LibreOffice understood the file as a workbook, and the filter it used."""
    name = filter_name(document)
    is_sheet = document.supportsService("com.sun.star.sheet.SpreadsheetDocument")
    return is_sheet and name in WORKBOOK_FILTERS, name


def _copy_page_style(document, sheet):
    """Gives the sheet a page style of its own, a copy of the one it had.

    Several sheets may share a style, and the other sheets must keep theirs."""
    styles = document.StyleFamilies.getByName("PageStyles")
    original = styles.getByName(sheet.PageStyle)
    name = original.Name + " (bench)"
    suffix = 1
    while styles.hasByName(name):
        suffix += 1
        name = f"{original.Name} (bench {suffix})"
    copy = document.createInstance("com.sun.star.style.PageStyle")
    styles.insertByName(name, copy)
    properties = [p for p in original.PropertySetInfo.Properties
                  if not (p.Attributes & uno.getConstantByName("com.sun.star.beans.PropertyAttribute.READONLY"))]
    # Header and footer contents are accepted only once their block is switched on.
    properties.sort(key=lambda p: not p.Name.endswith("IsOn"))
    for prop in properties:
        try:
            copy.setPropertyValue(prop.Name, original.getPropertyValue(prop.Name))
        except Exception:
            pass  # a few properties are read-only in practice although not flagged so
    sheet.PageStyle = name
    return copy


def apply_first_sheet_setup(document, comments=True):
    """A4 portrait, zoom 100, gridlines on, headings off, print area cleared, first sheet only."""
    sheet = document.Sheets.getByIndex(0)
    style = _copy_page_style(document, sheet)
    # Clearing the print ranges this way prints the whole used area; setPrintAreas(())
    # would leave a sheet that prints nothing.
    sheet.AutomaticPrintArea = True
    # Fitting to pages must be off before the scale counts.
    style.ScaleToPages = 0
    style.ScaleToPagesX = 0
    style.ScaleToPagesY = 0
    style.PageScale = 100
    style.PrintGrid = True
    style.PrintHeaders = False
    style.PrintAnnotations = comments
    style.IsLandscape = False
    style.Size = A4_PORTRAIT


def export_pdf(document, target):
    document.storeToURL(_file_url(target), (_property("FilterName", "calc_pdf_Export"),))


def convert(source, target, profile, timeout_seconds=600, comments=True):
    """Converts one workbook in a soffice process of its own; never raises."""
    start = time.monotonic()
    office = Office(profile)
    watchdog = threading.Timer(timeout_seconds, office.kill)
    watchdog.start()
    note = ""
    ok = False
    try:
        office.connect()
        document = office.open(source)
        if document is None:
            note = "LibreOffice could not open it"
        else:
            understood, used_filter = read_as_workbook(document)
            if os.path.getsize(source) == 0:
                note = "empty file (LibreOffice shows an empty sheet)"
            elif not understood:
                note = f"not read as a workbook (filter '{used_filter or 'none'}')"
            else:
                apply_first_sheet_setup(document, comments)
                export_pdf(document, target)
                ok = os.path.exists(target) and os.path.getsize(target) > 0
                note = "" if ok else "no PDF written"
            document.close(True)
    except Exception as error:  # UNO errors have no common base worth naming
        note = f"{type(error).__name__}: {error}".strip()
        if not watchdog.is_alive():
            note = f"killed after {timeout_seconds} s"
    finally:
        office.quit()
        watchdog.cancel()
    return Outcome(ok, time.monotonic() - start, note)


def warm_up(profile):
    """Lets soffice fill a new profile once, so that no timed run pays for it."""
    office = Office(profile)
    try:
        office.connect()
    finally:
        office.quit()
