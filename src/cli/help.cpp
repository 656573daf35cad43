#include "cli/help.h"

namespace kx::cli {

std::string helpText()
{
    return R"(Usage: korvendal-xl-convert [options] SOURCE.xls TARGET.pdf
       korvendal-xl-convert [options] SOURCE... --output-dir DIR
       korvendal-xl-convert [options] --manifest FILE
Converts Excel 97-2003 workbooks to PDF, printing every visible sheet. The page set-up
options apply to the first worksheet (to every one with --all-sheets); the other sheets keep
their own.

Page set-up:
  --paper NAME       paper size: A4 (default), Legal, A5, Letter, B4 or B5 (any letter case)
  --landscape        landscape orientation (default portrait; --portrait sets it back)
  --zoom N           zoom percentage from 10 to 400 (default 100)
  --fit-width N      fit the sheet to N pages wide, as many pages tall as needed
  --fit WxT          fit the sheet to W pages wide by T pages tall; 0 means as many as needed
  --all-sheets       apply the page set-up to every worksheet, not only the first
  --sheets LIST      print only these sheets: names or 1-based tab positions, comma-separated
                     (a name is matched first, so a sheet called "2" is found by its name)
  --gridlines        print gridlines (the default); --no-gridlines leaves them out
  --headings         print row and column headings
  --from N --to M    only pages N to M of the whole print (default all pages)

PDF route (the last one given counts):
  --ghostscript      make the PDF as the desktop program does: print PostScript and have
                     Ghostscript turn it into PDF (about three times slower; for PDFs made as
                     the desktop program makes them, or a reader that has trouble with the
                     direct PDF). Without it the converter writes the PDF itself: the same
                     pages and text, Ghostscript not needed.
  --pdfa             make an archival PDF/A-2b file through Ghostscript (fonts embedded, sRGB
                     output intent); slowest. Choose it when an archive asks for PDF/A.
Every PDF has a bookmark per printed sheet, the workbook's hyperlinks as links, and its title,
subject, author and keywords (the file name as title when the workbook names none).

Batches:
  -o, --output-dir DIR  convert every SOURCE to DIR/<name>.pdf; a folder as SOURCE means its
                     .xls files (hidden ones left out)
  -r, --recursive    also the .xls files in the folders' subfolders, keeping their layout in DIR
  --manifest FILE    read "SOURCE<TAB>TARGET" lines from FILE ("-": standard input) instead
  -j, --jobs N       convert N workbooks at a time (default: one per processor), each in a
                     process and working folder of its own
  --results FILE     write one JSON object per line and workbook: source, target, status
                     ("converted", "failed" or "skipped"), pages, seconds, error (a number or
                     null), message, warnings (the load warnings) and peak_memory_kb
  --skip-existing    skip a workbook whose target exists and is newer than it, so that a batch
                     started again finishes what an earlier run left
  --shard K/N        convert only the K-th (1 to N) of N equal shares of the sorted sources or
                     manifest lines, so that N machines or tasks each take their own share
  --timeout SECONDS  end Ghostscript when one of its passes runs longer than this, and fail
                     the workbook (default 600; whole seconds up to 86400; the --ghostscript
                     and --pdfa routes)
  -v, --verbose      say on standard error what reading each workbook left out (damaged
                     records, pictures that cannot be drawn)
  -q, --quiet        no progress on standard error (by default one changing line on a
                     terminal, otherwise one line per workbook)

  --version          print the version
  --help             show this help

SOURCE TARGET: messages go to standard output. The exit status is 0 when the PDF was written;
otherwise it is 1, standard error holds one line saying why, and TARGET is left as it was.

Batches: the exit status is 0 when every workbook was converted or skipped, 1 when any failed,
2 for a usage error (nothing is converted). Ctrl-C (SIGINT) or SIGTERM stops starting new
conversions and lets the running ones finish; a second one ends them at once. Either way no
half-written PDF is left, the results of what finished are written, and the exit status is
128 plus the signal's number (130 for SIGINT, 143 for SIGTERM). Every target is replaced
whole, never written in place.
)";
}

std::string versionText()
{
    return "korvendal-xl-convert " KX_VERSION "\n";
}

}  // namespace kx::cli
