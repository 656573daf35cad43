// The real workbooks of the shared corpus: all open, their contents hold together, and known
// values (checked against LibreOffice's reading of the same files) come out; broken files,
// and every file cut short, fail with the engine's error and nothing worse.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "workbook/format/number_format.h"
#include "workbook/xls/reader.h"

using namespace kx::workbook;
namespace fs = std::filesystem;

namespace {

fs::path corpusDir()
{
    if (const char* overridden = std::getenv("KX_CORPUS_DIR"))
        return overridden;
    return KX_CORPUS_DIR;
}

std::vector<fs::path> workbooksIn(const fs::path& dir)
{
    std::vector<fs::path> files;
    if (fs::is_directory(dir))
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.path().extension() == ".xls")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::byte> bytesOf(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> chars((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    std::transform(chars.begin(), chars.end(), bytes.begin(), [](char c) { return std::byte(c); });
    return bytes;
}

#define REQUIRE_CORPUS()                                                              \
    if (!fs::is_directory(corpusDir()))                                               \
    GTEST_SKIP() << "no corpus at " << corpusDir() << " (set KX_CORPUS_DIR)"

Workbook openCorpus(const std::string& name)
{
    return openWorkbook((corpusDir() / name).string());
}

const Sheet& sheetNamed(const Workbook& book, const std::string& name)
{
    for (const Sheet& sheet : book.sheets)
        if (sheet.name == name)
            return sheet;
    throw std::runtime_error("no sheet " + name);
}

std::string textAt(const Workbook& book, const Sheet& sheet, uint32_t row, uint16_t column)
{
    const Cell* cell = sheet.cell(row, column);
    if (!cell || cell->kind != CellKind::Text)
        return "<no text>";
    return book.strings.at(cell->text).utf8;
}

// What the print engine relies on without checking: indexes that lead somewhere, sorted rows.
void expectConsistent(const Workbook& book, const std::string& name)
{
    ASSERT_FALSE(book.fonts.empty()) << name;
    ASSERT_FALSE(book.formats.empty()) << name;
    EXPECT_EQ(book.palette.size(), 56u) << name;
    for (const CellFormat& format : book.formats)
        ASSERT_LT(format.fontIndex, book.fonts.size()) << name;
    for (const RichText& text : book.strings)
        for (const FormatRun& run : text.runs)
            ASSERT_LT(run.fontIndex, book.fonts.size()) << name;
    for (const Sheet& sheet : book.sheets) {
        for (size_t r = 0; r < sheet.rows.size(); ++r) {
            const Row& row = sheet.rows[r];
            ASSERT_TRUE(r == 0 || sheet.rows[r - 1].index < row.index) << name << " " << sheet.name;
            if (row.format) {
                ASSERT_LT(*row.format, book.formats.size());
            }
            for (size_t c = 0; c < row.cells.size(); ++c) {
                const Cell& cell = row.cells[c];
                ASSERT_TRUE(c == 0 || row.cells[c - 1].column < cell.column) << name << " " << sheet.name;
                ASSERT_LE(cell.column, 255);
                ASSERT_LT(cell.format, book.formats.size()) << name;
                if (cell.kind == CellKind::Text) {
                    ASSERT_LT(cell.text, book.strings.size()) << name;
                }
            }
        }
        for (size_t i = 1; i < sheet.columns.size(); ++i)
            ASSERT_LT(sheet.columns[i - 1].lastColumn, sheet.columns[i].firstColumn) << name;
    }
}

}  // namespace

// Every kind of record in a real workbook is read or passed over for a stated reason.
TEST(Corpus, EveryWorkbookOpensHoldsTogetherAndHasNoRecordOfAnUnknownKind)
{
    REQUIRE_CORPUS();
    const auto files = workbooksIn(corpusDir());
    ASSERT_GE(files.size(), 40u);
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        Workbook book;
        ASSERT_NO_THROW(book = openWorkbook(file.string()));
        EXPECT_FALSE(book.sheets.empty());
        expectConsistent(book, file.filename().string());
        for (const LoadWarning& warning : book.warnings.kept())
            EXPECT_EQ(warning.dropped.find("does not know"), std::string::npos) << recordTypeText(warning.recordType);
    }
}

TEST(Corpus, SheetsTextsAndNumbersAsLibreOfficeReadsThem)
{
    REQUIRE_CORPUS();
    const Workbook hebrew = openCorpus("sheetjs-text_and_numbers.xls");
    ASSERT_EQ(hebrew.sheets.size(), 3u);
    const Sheet& first = hebrew.sheets[0];
    EXPECT_EQ(textAt(hebrew, first, 0, 0), "English");
    EXPECT_EQ(textAt(hebrew, first, 1, 1), "שלום");
    EXPECT_EQ(textAt(hebrew, first, 1, 2), "עולם");
    EXPECT_EQ(first.cell(3, 1)->number, 13.37);
    EXPECT_EQ(first.cell(3, 2)->number, 1337);

    const Workbook cyrillic = openCorpus("poi-57925.xls");
    ASSERT_EQ(cyrillic.sheets.size(), 3u);
    EXPECT_EQ(cyrillic.sheets[0].name, "Доходы");
    EXPECT_NO_THROW(sheetNamed(cyrillic, "Расходы"));

    const Workbook chinese = openCorpus("poi-61287.xls");
    EXPECT_EQ(textAt(chinese, chinese.sheets.at(0), 0, 0), "资产负债表");
    // Its cell format is marked as taking the font from its style, yet shows its own.
    const Font& title = chinese.fonts.at(chinese.formats.at(chinese.sheets[0].cell(0, 0)->format).fontIndex);
    EXPECT_TRUE(title.bold);
    EXPECT_EQ(title.heightTwips, 240);

    const Workbook names = openCorpus("xlrd-namesdemo.xls");
    const Sheet& sheet3 = sheetNamed(names, "Sheet3");
    EXPECT_EQ(textAt(names, sheet3, 24, 0), "αβγδε");
    EXPECT_EQ(sheet3.cell(16, 0)->kind, CellKind::Boolean);
    EXPECT_EQ(sheet3.cell(16, 0)->number, 1);
    EXPECT_EQ(sheet3.cell(19, 0)->number, 65535);
}

// poi-at-gv-ooe-bp10 pairs a date column with a time column; every cell format there marks its
// number format as its own, while their style has General. LibreOffice 7.4 cannot read the time
// code and shows General instead; the time is what the file asks for.
TEST(Corpus, CellFormatsKeepTheirOwnNumberFormats)
{
    REQUIRE_CORPUS();
    const Workbook votes = openCorpus("poi-at-gv-ooe-bp10.xls");
    const Sheet& sheet = votes.sheets.at(0);
    const auto codeAt = [&](uint16_t column) {
        return votes.numberFormatCode(votes.formats.at(sheet.cell(6, column)->format).numberFormat);
    };
    EXPECT_EQ(codeAt(21), "dd/mm/yyyy;dd/mm/yyyy;_-* \"\"??_-;_-@_-");
    EXPECT_EQ(codeAt(22), "[$-F400]h:mm:ss\\ AM/PM;[$-F400]h:mm:ss\\ AM/PM;_-* \"\"??_-;_-@_-");
    EXPECT_EQ(formatNumber(sheet.cell(6, 21)->number, codeAt(21), false).text, "25/04/2010");
    EXPECT_EQ(formatNumber(sheet.cell(6, 22)->number, codeAt(22), false).text, "5:39:31 PM");
}

TEST(Corpus, SheetKindsVisibilityAndDateSystem)
{
    REQUIRE_CORPUS();
    const Workbook charts = openCorpus("poi-12843-1.xls");
    EXPECT_EQ(charts.sheets.size(), 40u);
    EXPECT_EQ(std::count_if(charts.sheets.begin(), charts.sheets.end(),
                            [](const Sheet& s) { return s.kind == SheetKind::Chart; }),
              17);
    EXPECT_EQ(sheetNamed(charts, "ADSL-圖").kind, SheetKind::Chart);

    const Workbook hidden = openCorpus("poi-TwoSheetsOneHidden.xls");
    ASSERT_EQ(hidden.sheets.size(), 2u);
    EXPECT_EQ(hidden.sheets[0].visibility, Visibility::Hidden);
    EXPECT_EQ(hidden.sheets[1].visibility, Visibility::Visible);

    EXPECT_TRUE(openCorpus("poi-florida-data.xls").dateSystem1904);
    EXPECT_FALSE(openCorpus("poi-15228.xls").dateSystem1904);

    const Workbook rtl = openCorpus("poi-ex42570-20305.xls");
    EXPECT_TRUE(std::any_of(rtl.sheets.begin(), rtl.sheets.end(), [](const Sheet& s) { return s.rightToLeft; }));
}

TEST(Corpus, RowsAndCellsAtTheEdgesOfTheSheet)
{
    REQUIRE_CORPUS();
    const Workbook corners = openCorpus("poi-51535.xls");
    bool farCorner = false;
    for (const Sheet& sheet : corners.sheets)
        farCorner = farCorner || sheet.cell(65535, 255) != nullptr;
    EXPECT_TRUE(farCorner);

    const Workbook hiddenRows = openCorpus("poi-44593.xls");
    size_t hidden = 0;
    for (const Row& row : hiddenRows.sheets.at(0).rows)
        hidden += row.hidden;
    for (const Row& row : hiddenRows.sheets.at(1).rows)
        hidden += row.hidden;
    EXPECT_GE(hidden, 64970u);
}

namespace {

// The counts the corpus manifest gives for a workbook ("merged ranges=34; comments=42"),
// taken from its records by another program; 0 when the note does not mention one.
size_t countInNote(const std::string& note, const std::string& label)
{
    std::smatch match;
    if (std::regex_search(note, match, std::regex(label + "=(\\d+)")))
        return std::stoul(match[1]);
    return 0;
}

struct Counts {
    size_t merged = 0, comments = 0, rowBreaks = 0, hiddenSheets = 0, chartSheets = 0, hiddenRows = 0,
           hiddenColumns = 0, hyperlinks = 0;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Counts& c)
{
    return out << "merged " << c.merged << ", comments " << c.comments << ", row breaks " << c.rowBreaks
               << ", hidden sheets " << c.hiddenSheets << ", chart sheets " << c.chartSheets << ", hidden rows "
               << c.hiddenRows << ", hidden columns " << c.hiddenColumns << ", hyperlinks " << c.hyperlinks;
}

Counts countsOf(const Workbook& book)
{
    Counts c;
    for (const Sheet& sheet : book.sheets) {
        c.merged += sheet.mergedRanges.size();
        c.comments += sheet.comments.size();
        c.hyperlinks += sheet.hyperlinks.size();
        c.rowBreaks += sheet.pageSetup.rowBreaks.size();
        c.hiddenSheets += sheet.visibility != Visibility::Visible;
        c.chartSheets += sheet.kind == SheetKind::Chart;
        for (const Row& row : sheet.rows)
            c.hiddenRows += row.hidden;
        for (const ColumnInfo& column : sheet.columns)
            c.hiddenColumns += column.hidden ? column.lastColumn - column.firstColumn + 1u : 0u;
    }
    return c;
}

}  // namespace

TEST(Corpus, CountsAgreeWithTheManifest)
{
    REQUIRE_CORPUS();
    std::ifstream manifest(corpusDir() / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // column names
    size_t checked = 0;
    while (std::getline(manifest, line)) {
        std::vector<std::string> fields;
        std::stringstream columns(line);
        for (std::string field; std::getline(columns, field, '\t');)
            fields.push_back(field);
        ASSERT_GE(fields.size(), 6u) << line;
        const std::string& note = fields[5];
        Counts expected;
        expected.merged = countInNote(note, "merged ranges");
        expected.comments = countInNote(note, "comments");
        expected.rowBreaks = countInNote(note, "manual breaks h");
        expected.hiddenSheets = countInNote(note, "hidden sheets");
        expected.chartSheets = countInNote(note, "chart sheets");
        expected.hiddenRows = countInNote(note, "hidden rows");
        expected.hiddenColumns = countInNote(note, "hidden cols");
        expected.hyperlinks = countInNote(note, "hyperlinks");
        const Workbook book = openCorpus(fields[0]);
        EXPECT_EQ(countsOf(book), expected) << fields[0];
        EXPECT_EQ(book.dateSystem1904, note.find("1904 dates") != std::string::npos) << fields[0];
        ++checked;
    }
    EXPECT_GE(checked, 40u);
}

TEST(BadFiles, BrokenFilesFailWithTheEnginesErrorAndAReason)
{
    REQUIRE_CORPUS();
    struct Expected {
        const char* file;
        ErrorCode code;
    };
    const Expected expected[] = {
        {"bad-encrypted-rc4.xls", ErrorCode::PasswordProtected},
        {"bad-encrypted-xor.xls", ErrorCode::PasswordProtected},
        {"bad-encrypted-cryptoapi.xls", ErrorCode::PasswordProtected},
        {"bad-xlsx-renamed.xls", ErrorCode::Unsupported},
        {"bad-empty-0-bytes.xls", ErrorCode::NotAWorkbook},
        {"bad-csv-renamed.xls", ErrorCode::NotAWorkbook},
        {"bad-html-renamed.xls", ErrorCode::NotAWorkbook},
        {"bad-fuzz-broken-ole-header.xls", ErrorCode::NotAWorkbook},
        {"bad-fuzz-no-workbook-stream.xls", ErrorCode::NotAWorkbook},
        {"bad-truncated-12843-1.xls", ErrorCode::NotAWorkbook},
        {"bad-corrupt-records-61287.xls", ErrorCode::Corrupt},
        {"odd-61300.xls", ErrorCode::Corrupt},
    };
    for (const Expected& e : expected) {
        const fs::path path = corpusDir() / "bad" / e.file;
        try {
            openWorkbook(path.string());
            ADD_FAILURE() << e.file << " opened";
        } catch (const WorkbookError& error) {
            EXPECT_EQ(error.code(), e.code) << e.file << ": " << error.what();
            EXPECT_NE(std::string(error.what()).find(path.string()), std::string::npos) << error.what();
        }
    }
}

// These hold complete workbooks that LibreOffice reads too: a sector shared by two streams
// in the compound file, a damaged directory entry, and a workbook stream named "Book".
TEST(BadFiles, DamageAroundAnIntactWorkbookDoesNotStopIt)
{
    REQUIRE_CORPUS();
    for (const char* name : {"bad-corrupted_error.xls", "odd-phpexcel-bad-cfb-dir.xls", "odd-biff8-in-Book-stream.xls"}) {
        const Workbook book = openWorkbook((corpusDir() / "bad" / name).string());
        expectConsistent(book, name);
    }
    const Workbook book = openWorkbook((corpusDir() / "bad" / "odd-biff8-in-Book-stream.xls").string());
    EXPECT_EQ(textAt(book, book.sheets.at(0), 0, 0), "NAVNETYPE");
}

TEST(BadFiles, EveryBadFileEndsInTheEnginesErrorOrOpens)
{
    REQUIRE_CORPUS();
    for (const fs::path& file : workbooksIn(corpusDir() / "bad")) {
        try {
            openWorkbook(file.string());
        } catch (const WorkbookError& error) {
            EXPECT_GT(std::string(error.what()).size(), file.string().size() + 20) << error.what();
        }
    }
}

size_t cellCount(const Workbook& book)
{
    size_t cells = 0;
    for (const Sheet& sheet : book.sheets)
        for (const Row& row : sheet.rows)
            cells += row.cells.size();
    return cells;
}

// A file cut anywhere fails with the engine's error, or, when only streams stored after the
// workbook were lost (macros, document properties), opens with nothing of the workbook missing.
TEST(Truncation, EveryCorpusWorkbookCutShortFailsOrLosesNothing)
{
    REQUIRE_CORPUS();
    size_t failures = 0, cuts = 0;
    for (const fs::path& file : workbooksIn(corpusDir())) {
        const std::vector<std::byte> bytes = bytesOf(file);
        const Workbook whole = loadWorkbook(bytes);
        std::vector<size_t> at{8, 100, 700};
        for (size_t step = 1; step <= 12; ++step)
            at.push_back(bytes.size() * step / 13 + step * 7);
        for (size_t cut : at) {
            if (cut >= bytes.size())
                continue;
            ++cuts;
            try {
                const Workbook part = loadWorkbook(std::span(bytes).first(cut), file.filename().string());
                EXPECT_EQ(part.sheets.size(), whole.sheets.size()) << file.filename() << " cut at " << cut;
                EXPECT_EQ(cellCount(part), cellCount(whole)) << file.filename() << " cut at " << cut;
            } catch (const WorkbookError&) {
                ++failures;
            }
        }
    }
    EXPECT_GT(failures, cuts * 9 / 10);
}

TEST(Corpus, SummaryInformationAsTheFileStoresIt)
{
    REQUIRE_CORPUS();
    const std::pair<const char*, DocumentSummary> cases[] = {
        {"poi-ConditionalFormattingSamples.xls", {.title = "Conditional Formatting Samples"}},
        {"poi-33082.xls", {.author = "Sandy Olheiser"}},
        {"poi-45538_classic_Footer.xls", {}},
    };
    for (const auto& [name, summary] : cases) {
        const DocumentSummary read = openCorpus(name).summary;
        EXPECT_EQ(read.title, summary.title) << name;
        EXPECT_EQ(read.author, summary.author) << name;
        EXPECT_EQ(read.subject + read.keywords, "") << name;
    }
}
