#include <gtest/gtest.h>

#include <fstream>

#include "e2e_support.h"
#include "workbook/xls_builder.h"

#include <unistd.h>

using namespace kx::e2e;

namespace {

const std::string kConverter = KX_CONVERT_EXE;
// Nine pages over several sheets, with a distinct text on each.
const std::string kFooterWorkbook = "poi-45538_classic_Footer.xls";

CommandResult convert(const std::string& arguments)
{
    return runCommand("'" + kConverter + "' " + arguments);
}

}  // namespace

TEST(CommandLineConverter, ConvertsAWorkbookAndARangeOfItsPrintedPages)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string all = machine.file("all.pdf");
    const CommandResult whole = convert("'" + corpusFile(kFooterWorkbook) + "' '" + all + "'");
    ASSERT_EQ(whole.exitStatus, 0) << whole.errors;
    EXPECT_NE(whole.output.find("POI-45538_CLASSIC_FOOTER.XLS Converted Successfully."), std::string::npos);
    ASSERT_GE(pdfPageCount(all), 4);
    EXPECT_NE(pdfText(all).find("University of Chicago"), std::string::npos);

    const std::string range = machine.file("range.pdf");
    const CommandResult cut = convert("--from 2 --to 3 '" + corpusFile(kFooterWorkbook) + "' '" + range + "'");
    ASSERT_EQ(cut.exitStatus, 0) << cut.errors;
    EXPECT_EQ(pdfPageCount(range), 2);
    EXPECT_EQ(pdfText(range), pdfText(all, 2, 3));
    EXPECT_NE(pdfText(range), pdfText(all, 1, 2));
}

TEST(CommandLineConverter, HeadingsAndPaperChangeTheOutput)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string workbook = "'" + corpusFile("poi-govdocs1-626534.xls") + "' ";
    ASSERT_EQ(convert(workbook + "'" + machine.file("plain.pdf") + "'").exitStatus, 0);
    ASSERT_EQ(convert("--headings --paper LETTER --landscape " + workbook + "'" + machine.file("dressed.pdf") + "'").exitStatus, 0);

    const std::string plain = runCommand("pdfinfo '" + machine.file("plain.pdf") + "'").output;
    const std::string dressed = runCommand("pdfinfo '" + machine.file("dressed.pdf") + "'").output;
    EXPECT_NE(plain.find("(A4)"), std::string::npos) << plain;
    EXPECT_NE(dressed.find("792 x 612"), std::string::npos) << dressed;
    EXPECT_GT(pdfText(machine.file("dressed.pdf")).size(), pdfText(machine.file("plain.pdf")).size());
}

TEST(CommandLineConverter, FittingAndChoosingSheetsDecideThePageCount)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    // Twenty-four worksheets, the first printing on three pages.
    const std::string workbook = "'" + corpusFile("poi-15228.xls") + "' '" + machine.file("out.pdf") + "'";
    const std::pair<std::string, int> cases[] = {
        {"--sheets 1 ", 3}, {"--sheets 1 --fit 1x1 ", 1}, {"--fit 1x1 --all-sheets ", 24}, {"--sheets 2,1 --fit 1x1 --all-sheets ", 2},
    };
    for (const auto& [options, pages] : cases) {
        const CommandResult run = convert(options + workbook);
        ASSERT_EQ(run.exitStatus, 0) << options << run.errors;
        EXPECT_EQ(pdfPageCount(machine.file("out.pdf")), pages) << options;
    }
    const CommandResult unknown = convert("--sheets Nonesuch " + workbook);
    EXPECT_EQ(unknown.exitStatus, 1);
    EXPECT_NE(unknown.errors.find("no sheet \"Nonesuch\""), std::string::npos) << unknown.errors;
}

TEST(CommandLineConverter, FailuresSayWhyOnOneLineAndLeaveTheTargetAlone)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string target = machine.file("kept.pdf");
    runCommand("printf 'earlier PDF' > '" + target + "'");

    const CommandResult broken = convert("'" + corpusFile("bad/bad-csv-renamed.xls") + "' '" + target + "'");
    EXPECT_NE(broken.exitStatus, 0);
    EXPECT_NE(broken.errors.find("not an Excel 97-2003 workbook"), std::string::npos) << broken.errors;
    EXPECT_EQ(broken.errors.find('\n'), broken.errors.size() - 1) << broken.errors;
    EXPECT_EQ(readFile(target), "earlier PDF");

    const CommandResult empty = convert("'" + corpusFile("poi-blankworkbook.xls") + "' '" + target + "'");
    EXPECT_NE(empty.exitStatus, 0);
    EXPECT_GT(empty.errors.size(), 1u);
    EXPECT_EQ(empty.errors.find('\n'), empty.errors.size() - 1) << empty.errors;
    EXPECT_EQ(readFile(target), "earlier PDF");

    const CommandResult noGhostscript = runCommand("KORVENDAL_MACHINE_STORE='" + machine.file("none.reg") + "' '" + kConverter
                                                   + "' --ghostscript '" + corpusFile("poi-61287.xls") + "' '" + target + "'");
    EXPECT_EQ(noGhostscript.exitStatus, 1);
    EXPECT_NE(noGhostscript.errors.find("Ghostscript"), std::string::npos);
    EXPECT_EQ(noGhostscript.errors.find('\n'), noGhostscript.errors.size() - 1) << noGhostscript.errors;
    EXPECT_EQ(readFile(target), "earlier PDF");

    const CommandResult usage = convert("--zoom 500 in.xls out.pdf");
    EXPECT_EQ(usage.exitStatus, 2);
    EXPECT_NE(usage.errors.find("zoom"), std::string::npos);
}

TEST(CommandLineConverter, SeveralRunsAtOnceEachGetTheirOwnPdf)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    std::string script;
    const char* workbooks[] = {"poi-govdocs1-626534.xls", "poi-61287.xls", "sheetjs-text_and_numbers.xls"};
    for (const char* workbook : workbooks)
        script += "'" + kConverter + "' '" + corpusFile(workbook) + "' '" + machine.file(workbook) + ".pdf' >/dev/null & ";
    runCommand(script + "wait");
    for (const char* workbook : workbooks) {
        const std::string alone = machine.file(std::string(workbook) + ".alone.pdf");
        ASSERT_EQ(convert("'" + corpusFile(workbook) + "' '" + alone + "'").exitStatus, 0);
        EXPECT_EQ(pdfText(machine.file(std::string(workbook) + ".pdf")), pdfText(alone)) << workbook;
    }
}

// PDF/A-2b as far as the tests can check without a validator: the identification in the
// metadata stream, the sRGB output intent, every font embedded and no transparency group.
TEST(CommandLineConverter, PdfAHasItsMetadataOutputIntentAndEmbeddedFontsAndKeepsTheMarks)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string pdf = machine.file("archive.pdf");
    const CommandResult made = convert("--pdfa '" + corpusFile("poi-33082.xls") + "' '" + pdf + "'");
    ASSERT_EQ(made.exitStatus, 0) << made.errors;
    const std::string metadata = runCommand("pdfinfo -meta '" + pdf + "'").output;
    EXPECT_NE(metadata.find("pdfaid:part='2'"), std::string::npos) << metadata;
    EXPECT_NE(metadata.find("pdfaid:conformance='B'"), std::string::npos) << metadata;
    const std::string bytes = readFile(pdf);
    EXPECT_NE(bytes.find("/OutputIntents"), std::string::npos);
    EXPECT_NE(bytes.find("/GTS_PDFA1"), std::string::npos);
    EXPECT_EQ(bytes.find("/Transparency"), std::string::npos);
    const std::string fonts = runCommand("pdffonts '" + pdf + "' | tail -n +3 | awk '{print $(NF-4)}' | sort -u").output;
    EXPECT_EQ(fonts, "yes\n") << runCommand("pdffonts '" + pdf + "'").output;

    const std::string info = runCommand("pdfinfo '" + pdf + "'").output;
    EXPECT_NE(info.find("Author:          Sandy Olheiser"), std::string::npos) << info;
    EXPECT_NE(info.find("Creator:         Korvendal XL"), std::string::npos) << info;
    EXPECT_NE(runCommand("pdfinfo -url '" + pdf + "'").output.find("mailto:Stacie@ABC.com"), std::string::npos);
    EXPECT_NE(runCommand("pdftohtml -xml -stdout -i -q '" + pdf + "'").output.find("<item page=\"1\">Sheet1</item>"),
              std::string::npos);
}

TEST(CommandLineConverter, AWorkbookCutShortPrintsWhatWasReadAndVerboseSaysWhatWasLost)
{
    using namespace kx::testing;
    TestMachine machine;
    auto stream = WorkbookBuilder().sheet({.name = "Kept", .records = {labelCell(0, 0, u"Survivor"),
                                                                      numberCell(1, 0, 7)}}).stream();
    stream.resize(stream.size() - 4 - 5);  // into the last cell: its record reaches past the end
    const auto file = compoundFile(stream);
    const std::string workbook = machine.file("cut.xls");
    std::ofstream(workbook, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                    static_cast<std::streamsize>(file.size()));

    const CommandResult quiet = convert("'" + workbook + "' '" + machine.file("quiet.pdf") + "'");
    ASSERT_EQ(quiet.exitStatus, 0) << quiet.errors;
    EXPECT_EQ(quiet.errors, "");
    EXPECT_NE(pdfText(machine.file("quiet.pdf")).find("Survivor"), std::string::npos);

    const CommandResult verbose = convert("--verbose '" + workbook + "' '" + machine.file("verbose.pdf") + "'");
    ASSERT_EQ(verbose.exitStatus, 0) << verbose.errors;
    EXPECT_NE(verbose.errors.find("korvendal-xl-convert: warning: " + workbook + ": record 0x0203 at offset "),
              std::string::npos) << verbose.errors;
    EXPECT_NE(verbose.errors.find("the rest of the sheet \"Kept\""), std::string::npos) << verbose.errors;
}

TEST(CommandLineConverter, AWorkbookOfChartSheetsAlonePrintsWithoutAWorksheetToSetUp)
{
    using namespace kx::testing;
    TestMachine machine;
    const RawRecord begin = record(0x1033, Body());
    const RawRecord end = record(0x1034, Body());
    // A column chart without series, and its title.
    const std::vector<RawRecord> titledChart{
        record(0x1002, Body().u32(0).u32(0).u32(400 << 16).u32(300 << 16)), begin,
        record(0x1041, Body().u16(0).u32(0).u32(0).u32(0).u32(0)), begin,
        record(0x1014, Body().bytes(std::vector<uint8_t>(16, 0)).u16(0).u16(0)), begin,
        record(0x1017, Body().u16(0).u16(150).u16(0)), end, end,
        record(0x1025, Body().bytes(std::vector<uint8_t>(32, 0))), begin, record(0x1027, Body().u16(1).u16(0).u16(0)),
        record(0x100D, Body().u16(0).string8(u"Quarterly")), end, end};
    const auto file = WorkbookBuilder().sheet({.name = "Chart1", .records = titledChart, .kind = 2}).file();
    const std::string workbook = machine.file("charts.xls");
    std::ofstream(workbook, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                    static_cast<std::streamsize>(file.size()));

    for (const char* options : {"", "--landscape --zoom 50 --sheets Chart1", "--all-sheets --fit 1x1"}) {
        const std::string pdf = machine.file("charts.pdf");
        const CommandResult result = convert(std::string(options) + " '" + workbook + "' '" + pdf + "'");
        ASSERT_EQ(result.exitStatus, 0) << options << ": " << result.errors;
        EXPECT_EQ(pdfPageCount(pdf), 1) << options;
        EXPECT_NE(pdfText(pdf).find("Quarterly"), std::string::npos) << options;
    }
}

// `korvendal-xl-convert ... | head -1`, or a launcher that closed its end: the output pipe has
// no reader any more, for the converter and for the Ghostscript it starts.
TEST(CommandLineConverter, OutputIntoAPipeNobodyReadsStillMakesThePdf)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string target = machine.file("piped.pdf");
    const std::string statusFile = machine.file("status");
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ::close(pipeEnds[0]);
    const std::string command = "'" + kConverter + "' --ghostscript '" + corpusFile("poi-61287.xls") + "' '" + target + "' >&"
        + std::to_string(pipeEnds[1]) + " 2>&" + std::to_string(pipeEnds[1]) + "; echo $? > '" + statusFile + "'";
    runCommand(command);
    ::close(pipeEnds[1]);

    EXPECT_EQ(readFile(statusFile), "0\n");
    EXPECT_GE(pdfPageCount(target), 1);
}

TEST(CommandLineConverter, AGhostscriptThatNeverEndsIsStoppedAtTheTimeout)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string target = machine.file("kept.pdf");
    runCommand("printf 'earlier PDF' > '" + target + "'");
    const std::string hanging = machine.file("gs that hangs");
    runCommand("printf '#!/bin/sh\\necho partial > PdfFile.pdf\\nsleep 300 &\\nexec sleep 300\\n' > '" + hanging
               + "' && chmod +x '" + hanging + "'");
    runCommand("sed 's|^\"GSPath\"=.*|\"GSPath\"=\"" + hanging + "\"|' '" + machine.file("machine.reg") + "' > '"
               + machine.file("hanging.reg") + "'");

    for (const char* route : {"--ghostscript", "--pdfa"}) {
        const CommandResult stopped = runCommand("KORVENDAL_MACHINE_STORE='" + machine.file("hanging.reg") + "' '"
                                                 + kConverter + "' " + route + " --timeout 1 '"
                                                 + corpusFile("poi-61287.xls") + "' '" + target + "'");
        EXPECT_EQ(stopped.exitStatus, 1) << route;
        EXPECT_NE(stopped.errors.find("Ghostscript did not finish within 1 second and was stopped"), std::string::npos)
            << route << ": " << stopped.errors;
        EXPECT_EQ(readFile(target), "earlier PDF") << route;
    }
}
