#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "e2e_support.h"

namespace fs = std::filesystem;
using namespace kx::e2e;

namespace {

const std::string kConverter = KX_CONVERT_EXE;

std::string quoted(const std::string& text)
{
    return "'" + text + "'";
}

CommandResult convert(const std::string& arguments)
{
    return runCommand(quoted(kConverter) + " " + arguments);
}

// The results file, one line a workbook, as field name to raw JSON value.
std::vector<std::map<std::string, std::string>> resultsOf(const std::string& file)
{
    std::vector<std::map<std::string, std::string>> lines;
    std::istringstream text(readFile(file));
    const std::regex field(R"re("(\w+)":("(?:[^"\\]|\\.)*"|\[[^\]]*\]|[^,}]*))re");
    for (std::string line; std::getline(text, line);) {
        std::map<std::string, std::string> fields;
        for (std::sregex_iterator match(line.begin(), line.end(), field), end; match != end; ++match)
            fields[(*match)[1]] = (*match)[2];
        lines.push_back(fields);
    }
    return lines;
}

std::string unquoted(const std::string& json)
{
    return json.size() >= 2 ? json.substr(1, json.size() - 2) : json;
}

// PDFs and leftovers in `folder`: a conversion cut short must leave neither a partial PDF nor
// the file it was filling.
struct Leftovers {
    std::set<std::string> pdfs;
    std::vector<std::string> unreadablePdfs;
    std::vector<std::string> others;
};

Leftovers leftoversIn(const std::string& folder)
{
    Leftovers found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string path = entry.path().string();
        if (entry.path().extension() != ".pdf")
            found.others.push_back(path);
        else if (pdfPageCount(path) < 1)
            found.unreadablePdfs.push_back(path);
        else
            found.pdfs.insert(path);
    }
    return found;
}

}  // namespace

TEST(BatchConverter, ExitStatusResultsLinesAndSkippingWhatIsDone)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string sources = machine.file("in");
    fs::create_directories(sources);
    for (const char* workbook : {"poi-61287.xls", "poi-45538_classic_Footer.xls", "bad/bad-csv-renamed.xls"})
        fs::copy_file(corpusFile(workbook), sources + "/" + fs::path(workbook).filename().string());
    const std::string out = machine.file("out"), results = machine.file("results.jsonl");

    const CommandResult first = convert(quoted(sources) + " -o " + quoted(out) + " --results " + quoted(results));
    EXPECT_EQ(first.exitStatus, 1) << first.errors;
    const auto lines = resultsOf(results);
    ASSERT_EQ(lines.size(), 3u) << readFile(results);
    for (const auto& line : lines) {
        const std::string target = unquoted(line.at("target"));
        if (target.ends_with("bad-csv-renamed.pdf")) {
            EXPECT_EQ(line.at("status"), "\"failed\"");
            EXPECT_NE(line.at("error"), "null");
            EXPECT_NE(line.at("message").find("not an Excel 97-2003 workbook"), std::string::npos);
            EXPECT_FALSE(fs::exists(target));
        } else {
            EXPECT_EQ(line.at("status"), "\"converted\"");
            EXPECT_EQ(line.at("pages"), std::to_string(pdfPageCount(target)));
            EXPECT_EQ(line.at("warnings"), "[]");
        }
    }
    // The same PDF as a conversion on its own.
    const std::string alone = machine.file("alone.pdf");
    ASSERT_EQ(convert(quoted(corpusFile("poi-45538_classic_Footer.xls")) + " " + quoted(alone)).exitStatus, 0);
    EXPECT_EQ(pdfText(out + "/poi-45538_classic_Footer.pdf"), pdfText(alone));

    fs::remove(sources + "/bad-csv-renamed.xls");
    const auto convertedAt = fs::last_write_time(out + "/poi-61287.pdf");
    const CommandResult again = convert(quoted(sources) + " -o " + quoted(out) + " --skip-existing --results " + quoted(results));
    EXPECT_EQ(again.exitStatus, 0) << again.errors;
    for (const auto& line : resultsOf(results))
        EXPECT_EQ(line.at("status"), "\"skipped\"");
    EXPECT_EQ(fs::last_write_time(out + "/poi-61287.pdf"), convertedAt);

    fs::last_write_time(sources + "/poi-61287.xls", convertedAt + std::chrono::seconds(5));
    ASSERT_EQ(convert(quoted(sources) + " -o " + quoted(out) + " --skip-existing -q --results " + quoted(results)).exitStatus, 0);
    std::multiset<std::string> statuses;
    for (const auto& line : resultsOf(results))
        statuses.insert(line.at("status"));
    EXPECT_EQ(statuses, (std::multiset<std::string>{"\"converted\"", "\"skipped\""}));

    EXPECT_EQ(convert(quoted(sources) + " -o " + quoted(out) + " --shard 4/3").exitStatus, 2);
}

TEST(BatchConverter, ThreeShardsConvertEveryCorpusWorkbookExactlyOnce)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    std::multiset<std::string> converted;
    for (int shard = 1; shard <= 3; ++shard) {
        const std::string results = machine.file("shard" + std::to_string(shard) + ".jsonl");
        convert(quoted(corpusFolder()) + " -o " + quoted(machine.file("out")) + " -q --shard " + std::to_string(shard)
                + "/3 --results " + quoted(results));
        for (const auto& line : resultsOf(results))
            converted.insert(fs::path(unquoted(line.at("source"))).filename().string());
    }
    std::multiset<std::string> workbooks;
    for (const auto& entry : fs::directory_iterator(corpusFolder())) {
        if (entry.path().extension() == ".xls")
            workbooks.insert(entry.path().filename().string());
    }
    EXPECT_EQ(converted, workbooks);
}

// One Ctrl-C lets the running conversions finish; a second ends them. Neither leaves a partial
// target, and what finished is in the results.
TEST(BatchConverter, InterruptedBatchesLeaveOnlyWholePdfs)
{
    KX_REQUIRE_CORPUS();
    for (const char* signals : {"kill -INT $pid", "kill -INT $pid; sleep 0.2; kill -INT $pid"}) {
        TestMachine machine;
        const std::string out = machine.file("out"), results = machine.file("results.jsonl");
        const CommandResult run = runCommand(
            quoted(kConverter) + " " + quoted(corpusFolder()) + " -o " + quoted(out) + " -j 2 -q --results " + quoted(results)
            + " & pid=$!; while [ ! -s " + quoted(results) + " ]; do sleep 0.02; done; " + signals
            + "; wait $pid; echo $?");
        EXPECT_EQ(run.output, "130\n") << signals;
        const Leftovers left = leftoversIn(out);
        EXPECT_TRUE(left.unreadablePdfs.empty()) << left.unreadablePdfs.front();
        EXPECT_TRUE(left.others.empty()) << left.others.front();
        std::set<std::string> reported;
        for (const auto& line : resultsOf(results)) {
            if (line.at("status") == "\"converted\"")
                reported.insert(unquoted(line.at("target")));
        }
        EXPECT_EQ(left.pdfs, reported) << signals;
        EXPECT_LT(reported.size(), 40u) << "the batch was not stopped: " << signals;
    }
}

// The route options reach every workbook of a batch: without Ghostscript the converter's own
// PDF still comes out, while the routes through Ghostscript fail each workbook saying why.
TEST(BatchConverter, TheRouteOptionsApplyToEveryWorkbook)
{
    KX_REQUIRE_CORPUS();
    TestMachine machine;
    const std::string sources = machine.file("in");
    fs::create_directories(sources);
    for (const char* workbook : {"poi-61287.xls", "poi-45538_classic_Footer.xls"})
        fs::copy_file(corpusFile(workbook), sources + "/" + workbook);
    // The printer stays; Ghostscript is gone.
    runCommand("sed '/GSPath/d' " + quoted(machine.file("machine.reg")) + " > " + quoted(machine.file("no-gs.reg")));
    const std::string withoutGhostscript = "KORVENDAL_MACHINE_STORE=" + quoted(machine.file("no-gs.reg")) + " ";

    for (const char* route : {"", "--ghostscript ", "--pdfa "}) {
        const std::string out = machine.file(std::string("out") + route), results = machine.file("results.jsonl");
        const CommandResult run = runCommand(withoutGhostscript + quoted(kConverter) + " " + route + quoted(sources)
                                             + " -o " + quoted(out) + " -q --results " + quoted(results));
        const auto lines = resultsOf(results);
        ASSERT_EQ(lines.size(), 2u) << route << readFile(results);
        const bool direct = *route == '\0';
        EXPECT_EQ(run.exitStatus, direct ? 0 : 1) << route << run.errors;
        for (const auto& line : lines) {
            const std::string target = unquoted(line.at("target"));
            if (direct) {
                EXPECT_EQ(line.at("status"), "\"converted\"") << target;
                EXPECT_EQ(line.at("pages"), std::to_string(pdfPageCount(target))) << target;
            } else {
                EXPECT_EQ(line.at("status"), "\"failed\"") << route << target;
                EXPECT_NE(line.at("message").find("Ghostscript"), std::string::npos) << route << line.at("message");
                EXPECT_FALSE(fs::exists(target)) << route << target;
            }
        }
    }
}
