#include <gtest/gtest.h>

#include "conversion/command_line.h"
#include "conversion/automation_page_setup.h"

using namespace kx::conversion;

namespace {

ConversionArguments parse(std::vector<std::string> arguments)
{
    return parseConversionArguments(arguments);
}

std::string usageErrorOf(std::vector<std::string> arguments)
{
    try {
        parseConversionArguments(arguments);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace

TEST(CommandLine, DefaultsAreTheWindowsInitialOptions)
{
    const ConversionArguments request = parse({"in.xls", "out.pdf"});
    EXPECT_EQ(request.paths, (std::vector<std::string>{"in.xls", "out.pdf"}));
    EXPECT_EQ(request.options.paperSize, "A4");
    EXPECT_EQ(request.options.zoom, 100);
    EXPECT_FALSE(request.options.landscape);
    EXPECT_TRUE(request.options.gridlines);
    EXPECT_FALSE(request.options.headings);
    EXPECT_TRUE(request.options.allPages);
    EXPECT_FALSE(request.options.openAfterConversion);
}

TEST(CommandLine, EveryOptionAnywhereAmongThePaths)
{
    const ConversionArguments request = parse({"--paper", "letter", "in.xls", "--landscape", "--zoom", "62.5",
                                              "--no-gridlines", "--headings", "--from", "2", "--to", "3", "out.pdf"});
    EXPECT_EQ(request.options.paperSize, "Letter");
    EXPECT_TRUE(request.options.landscape);
    EXPECT_EQ(request.options.zoom, 62.5);
    EXPECT_FALSE(request.options.gridlines);
    EXPECT_TRUE(request.options.headings);
    EXPECT_FALSE(request.options.allPages);
    EXPECT_EQ(request.options.fromPage, "2");
    EXPECT_EQ(request.options.toPage, "3");
    EXPECT_EQ(request.paths, (std::vector<std::string>{"in.xls", "out.pdf"}));
    EXPECT_EQ(parse({"--", "-odd.xls", "out.pdf"}).paths.front(), "-odd.xls");
    EXPECT_TRUE(parse({"--help"}).helpWanted);
}

TEST(CommandLine, RefusesWhatWouldMakeAWrongPdf)
{
    EXPECT_NE(usageErrorOf({"--paper", "A3", "in.xls", "out.pdf"}).find("A3"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--zoom", "401", "in.xls", "out.pdf"}).find("401"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--zoom", "9.9", "in.xls", "out.pdf"}).find("9.9"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--zoom", "1e2x", "in.xls", "out.pdf"}).find("zoom"), std::string::npos);
    EXPECT_NE(usageErrorOf({"in.xls", "out.pdf", "--zoom"}).find("needs a value"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--from", "2", "in.xls", "out.pdf"}).find("both"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--from", "3", "--to", "2", "in.xls", "out.pdf"}).find("comes after"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--from", "0", "--to", "2", "in.xls", "out.pdf"}).find("--from"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--to", "2x", "--from", "1", "in.xls", "out.pdf"}).find("--to"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--pages", "in.xls", "out.pdf"}).find("--pages"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--timeout", "0", "in.xls", "out.pdf"}).find("--timeout"), std::string::npos);
    EXPECT_NE(usageErrorOf({"--timeout", "1.5", "in.xls", "out.pdf"}).find("--timeout"), std::string::npos);
    EXPECT_EQ(parse({"--timeout", "3", "in.xls", "out.pdf"}).ghostscriptTimeout, std::chrono::seconds(3));
    EXPECT_EQ(parse({"in.xls", "out.pdf"}).ghostscriptTimeout, std::chrono::seconds(600));
    EXPECT_EQ(parse({"--zoom", "10", "in.xls", "out.pdf"}).options.zoom, 10);
    EXPECT_EQ(parse({"--zoom", "400", "in.xls", "out.pdf"}).options.zoom, 400);
}

using kx::conversion::automation::pageNumberFromText;

TEST(PageNumberFromText, ReadsTrimmedNumbersAndRefusesTheRest)
{
    EXPECT_EQ(pageNumberFromText("2"), 2);
    EXPECT_EQ(pageNumberFromText(" 12 "), 12);
    EXPECT_EQ(pageNumberFromText("2.5"), 2);
    EXPECT_EQ(pageNumberFromText("3.5"), 4);
    EXPECT_THROW(pageNumberFromText(""), kx::conversion::automation::Failure);
    EXPECT_THROW(pageNumberFromText("two"), kx::conversion::automation::Failure);
    EXPECT_THROW(pageNumberFromText("0"), kx::conversion::automation::Failure);
    EXPECT_THROW(pageNumberFromText("-1"), kx::conversion::automation::Failure);
}

TEST(CommandLine, TheDirectRouteIsTheDefaultAndTheOthersAreChosenByName)
{
    const std::pair<std::vector<std::string>, PdfRoute> cases[] = {
        {{"in.xls", "out.pdf"}, PdfRoute::Direct},
        {{"--ghostscript", "in.xls", "out.pdf"}, PdfRoute::Ghostscript},
        {{"in.xls", "--pdfa", "out.pdf"}, PdfRoute::PdfA},
        {{"--pdfa", "--ghostscript", "in.xls", "out.pdf"}, PdfRoute::Ghostscript},  // the last one counts
    };
    for (const auto& [arguments, route] : cases)
        EXPECT_EQ(parse(arguments).options.route, route) << arguments.front();
}
