#include <gtest/gtest.h>

#include "cli/arguments.h"

using namespace kx::cli;

namespace {

std::string usageErrorOf(const std::vector<std::string>& arguments)
{
    try {
        parseArguments(arguments);
    } catch (const kx::conversion::UsageError& error) {
        return error.what();
    }
    return "no error";
}

}  // namespace

TEST(Arguments, TwoPathsWithoutBatchOptionsKeepTheSingleForm)
{
    const Arguments single = parseArguments({"--fit-width", "1", "in.xls", "out.pdf"});
    EXPECT_FALSE(single.batch);
    EXPECT_EQ(single.target, "out.pdf");
    EXPECT_EQ(single.options.fit, (kx::conversion::PageFit{1, 0}));

    const Arguments batch = parseArguments({"a.xls", "folder", "-o", "out", "-j", "3", "--shard", "2/5",
                                            "--skip-existing", "--results", "r.jsonl", "--sheets", "Sales,2", "-q"});
    ASSERT_TRUE(batch.batch);
    EXPECT_EQ(batch.batch->sources, (std::vector<std::string>{"a.xls", "folder"}));
    EXPECT_EQ(batch.batch->outputFolder, "out");
    EXPECT_EQ(batch.batch->jobs, 3);
    EXPECT_EQ(batch.batch->shard, (Shard{2, 5}));
    EXPECT_TRUE(batch.batch->skipExisting && batch.batch->quiet);
    EXPECT_EQ(batch.options.sheets, (std::vector<std::string>{"Sales", "2"}));
    EXPECT_EQ(parseArguments({"--manifest", "-"}).batch->manifest, "-");
    EXPECT_EQ(parseArguments({"-o", "out", "--", "--odd.xls"}).batch->sources, std::vector<std::string>{"--odd.xls"});
}

TEST(Arguments, RefusesBatchesThatCannotSayWhereTheirPdfsGo)
{
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"in.xls"}, "SOURCE.xls and TARGET.pdf"},
        {{"a.xls", "b.xls", "c.xls"}, "--output-dir"},
        {{"a.xls", "--jobs", "2"}, "--output-dir"},
        {{"-o", "out"}, "SOURCE"},
        {{"--manifest", "m.tsv", "-o", "out"}, "leave out --output-dir"},
        {{"--manifest", "m.tsv", "a.xls"}, "leave out the SOURCE"},
        {{"a.xls", "-o", "out", "--jobs", "0"}, "--jobs"},
        {{"a.xls", "-o", "out", "--shard", "3/2"}, "--shard's K"},
        {{"a.xls", "-o", "out", "--shard", "0/2"}, "--shard's K"},
        {{"a.xls", "-o", "out", "--shard", "2"}, "K/N"},
        {{"a.xls", "-o"}, "needs a value"},
        {{"--fit", "0x0", "a.xls", "b.pdf"}, "fits to nothing"},
        {{"--fit", "2", "a.xls", "b.pdf"}, "PAGES_WIDExPAGES_TALL"},
        {{"--fit-width", "-1", "a.xls", "b.pdf"}, "--fit-width"},
        {{"--zoom", "80", "--fit-width", "1", "a.xls", "b.pdf"}, "exclude each other"},
        {{"--sheets", "a,,b", "a.xls", "b.pdf"}, "--sheets"},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_NE(usageErrorOf(arguments).find(expected), std::string::npos) << usageErrorOf(arguments);
}
